#include "support/scripted_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quillmere::test {
namespace {

using namespace std::chrono_literals;

constexpr int kSliceMs = 20;
constexpr std::size_t kFillerChunk = 64 * 1024;

class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

const char* reasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    default:
      return "Status";
  }
}

// Binds a listening socket to 127.0.0.1 at a free port; returns the socket and the port.
std::pair<int, int> listenOnFreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return {-1, 0};
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 64) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    return {-1, 0};
  }
  return {fd, ntohs(address.sin_port)};
}

}  // namespace

std::string RecordedRequest::method() const { return requestLine.substr(0, requestLine.find(' ')); }

std::string RecordedRequest::target() const {
  const auto first = requestLine.find(' ');
  const auto last = requestLine.rfind(' ');
  if (first == std::string::npos || last <= first) return {};
  return requestLine.substr(first + 1, last - first - 1);
}

std::string RecordedRequest::header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (equalsIgnoringCase(key, name)) return value;
  }
  return {};
}

int RecordedRequest::headerCount(std::string_view name) const {
  return static_cast<int>(std::count_if(headers.begin(), headers.end(), [&](const auto& h) {
    return equalsIgnoringCase(h.first, name);
  }));
}

std::vector<std::string> RecordedRequest::headerLines(
    const std::vector<std::string>& leaveOut) const {
  std::vector<std::string> lines;
  for (const auto& [key, value] : headers) {
    const bool left = std::any_of(leaveOut.begin(), leaveOut.end(),
                                  [&](const std::string& n) { return equalsIgnoringCase(n, key); });
    if (!left) lines.push_back(key + ": " + value);
  }
  return lines;
}

ScriptedReply httpReply(int status, std::string_view headerLines, std::string_view body) {
  ScriptedReply reply;
  reply.bytes = "HTTP/1.1 " + std::to_string(status) + " " + reasonPhrase(status) + "\r\n";
  reply.bytes += headerLines;
  reply.bytes += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  reply.bytes += body;
  return reply;
}

ScriptedServer::ScriptedServer(Script script) : script_(std::move(script)) {
  std::tie(listener_, port_) = listenOnFreePort();
  acceptor_ = std::thread([this] { acceptLoop(); });
}

ScriptedServer::~ScriptedServer() {
  stopping_ = true;
  acceptor_.join();
  for (auto& connection : connections_) connection.join();
  if (listener_ >= 0) ::close(listener_);
}

std::string ScriptedServer::url(std::string_view path) const {
  return "http://" + address() + std::string(path);
}

std::string ScriptedServer::address() const { return "127.0.0.1:" + std::to_string(port_); }

std::vector<RecordedRequest> ScriptedServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void ScriptedServer::acceptLoop() {
  if (listener_ < 0) return;
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, kSliceMs) <= 0) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    ++accepted_;
    connections_.emplace_back([this, connection] { serve(connection); });
  }
}

void ScriptedServer::serve(int connection) {
  const UniqueFd owner(connection);
  std::string buffer;
  while (!stopping_) {
    RecordedRequest request;
    if (!readRequest(connection, buffer, request)) return;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    const ScriptedReply reply = script_(request);
    if (!reply.answer) {
      waitUntilClosed(connection);
      return;
    }
    if (!sendReply(connection, reply)) return;
    if (reply.reset) {
      // Closing with a zero linger time sends a reset instead of the orderly end.
      const linger abort{.l_onoff = 1, .l_linger = 0};
      ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
      return;
    }
    if (reply.close) return;
  }
}

// Reads one request (head and Content-Length body) from `buffer` and the connection; false
// when the client closed or the server stops first.
bool ScriptedServer::readRequest(int connection, std::string& buffer, RecordedRequest& request) {
  auto fill = [&] {
    while (!stopping_) {
      pollfd waiting{connection, POLLIN, 0};
      if (::poll(&waiting, 1, kSliceMs) <= 0) continue;
      char chunk[16 * 1024];
      const ssize_t n = ::recv(connection, chunk, sizeof chunk, 0);
      if (n <= 0) return false;
      buffer.append(chunk, static_cast<std::size_t>(n));
      return true;
    }
    return false;
  };
  std::size_t headEnd;
  while ((headEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
    if (!fill()) return false;
  }
  const std::string_view head(buffer.data(), headEnd);
  std::size_t lineEnd = head.find("\r\n");
  request.requestLine = std::string(head.substr(0, lineEnd));
  std::size_t contentLength = 0;
  while (lineEnd != std::string_view::npos) {
    const std::size_t start = lineEnd + 2;
    lineEnd = head.find("\r\n", start);
    const std::string_view line = head.substr(
        start, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd - start);
    const auto colon = line.find(':');
    const std::string_view name = line.substr(0, colon);
    const std::string_view value =
        colon == std::string_view::npos ? std::string_view{} : trimmed(line.substr(colon + 1));
    request.headers.emplace_back(name, value);
    if (equalsIgnoringCase(name, "Content-Length")) {
      std::from_chars(value.data(), value.data() + value.size(), contentLength);
    }
  }
  const std::size_t bodyStart = headEnd + 4;
  while (buffer.size() - bodyStart < contentLength) {
    if (!fill()) return false;
  }
  request.body = buffer.substr(bodyStart, contentLength);
  buffer.erase(0, bodyStart + contentLength);
  return true;
}

bool ScriptedServer::sendReply(int connection, const ScriptedReply& reply) {
  const std::string_view bytes(reply.bytes);
  const std::size_t paced = std::min(reply.pacedTail, bytes.size());
  if (!sendAll(connection, bytes.substr(0, bytes.size() - paced)) ||
      !sendPaced(connection, bytes.substr(bytes.size() - paced), reply.pacing)) {
    return false;
  }
  const std::string filler(std::min(reply.fillerBytes, kFillerChunk), 'x');
  for (std::size_t left = reply.fillerBytes; left > 0;) {
    const std::size_t n = std::min(left, filler.size());
    if (!sendPaced(connection, std::string_view(filler).substr(0, n), reply.pacing)) return false;
    left -= n;
  }
  return true;
}

bool ScriptedServer::sendPaced(int connection, std::string_view bytes,
                               std::chrono::milliseconds pacing) {
  if (pacing <= 0ms) return sendAll(connection, bytes);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    for (auto until = std::chrono::steady_clock::now() + pacing;
         std::chrono::steady_clock::now() < until;) {
      if (stopping_) return false;
      std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(pacing, 5ms));
    }
    if (!sendAll(connection, bytes.substr(i, 1))) return false;
  }
  return true;
}

bool ScriptedServer::sendAll(int connection, std::string_view bytes) {
  while (!bytes.empty()) {
    if (stopping_) return false;
    pollfd waiting{connection, POLLOUT, 0};
    if (::poll(&waiting, 1, kSliceMs) <= 0) continue;
    if (waiting.revents & (POLLERR | POLLHUP)) return false;
    const ssize_t n = ::send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool ScriptedServer::waitUntilClosed(int connection) {
  while (!stopping_) {
    pollfd waiting{connection, POLLIN, 0};
    if (::poll(&waiting, 1, kSliceMs) <= 0) continue;
    char chunk[4096];
    if (::recv(connection, chunk, sizeof chunk, 0) <= 0) return true;
  }
  return false;
}

SilentListener::SilentListener() { std::tie(listener_, port_) = listenOnFreePort(); }

SilentListener::~SilentListener() {
  if (listener_ >= 0) ::close(listener_);
}

std::string SilentListener::url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

int refusingPort() {
  const auto [fd, port] = listenOnFreePort();
  if (fd >= 0) ::close(fd);
  return port;
}

}  // namespace quillmere::test
