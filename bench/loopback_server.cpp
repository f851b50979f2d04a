#include "loopback_server.h"

#include "http_head.h"
#include "service_messages.h"

#include <arpa/inet.h>
#include <array>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

namespace quillmere {
namespace {

// Bounds that keep a misbehaving client from growing the server without limit.
constexpr std::size_t kMaxHeadBytes = 64 * 1024;
constexpr std::size_t kMaxBodyBytes = 256 * 1024 * 1024;
constexpr std::size_t kReadChunkBytes = 64 * 1024;

std::shared_ptr<const std::string> continueResponse() {
  static const auto response = std::make_shared<const std::string>("HTTP/1.1 100 Continue\r\n\r\n");
  return response;
}

std::string responseMessage(std::string_view body, LoopbackServer::Connections connections) {
  std::string message = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: ";
  message += std::to_string(body.size());
  message += connections == LoopbackServer::Connections::keptAlive ? "\r\nConnection: keep-alive"
                                                                   : "\r\nConnection: close";
  message += "\r\n\r\n";
  message += body;
  return message;
}

bool setNoDelay(int fd) {
  const int on = 1;
  return ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) == 0;
}

bool addToPoller(int poller, int fd, std::uint32_t events) {
  epoll_event event{};
  event.events = events;
  event.data.fd = fd;
  return ::epoll_ctl(poller, EPOLL_CTL_ADD, fd, &event) == 0;
}

UniqueFd listenOnLoopback(std::uint16_t& port) {
  UniqueFd listener(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!listener.valid()) return {};
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener.get(), SOMAXCONN) != 0 ||
      ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return {};
  }
  port = ntohs(address.sin_port);
  return listener;
}

struct RequestHead {
  std::size_t headBytes = 0;
  std::size_t bodyBytes = 0;
  bool expectsContinue = false;
};

// nullopt for a head this server does not take (a body of unknown or excessive length).
std::optional<RequestHead> readHead(std::string_view head) {
  const std::optional<std::size_t> body = contentLength(head);
  if (!body || *body > kMaxBodyBytes || headerValue(head, "Transfer-Encoding")) return std::nullopt;
  const std::optional<std::string_view> expect = headerValue(head, "Expect");
  return RequestHead{head.size(), *body, expect && *expect == "100-continue"};
}

}  // namespace

struct LoopbackServer::Connection {
  UniqueFd fd;
  std::string input;
  std::optional<RequestHead> head;
  bool continueSent = false;
  std::shared_ptr<const std::string> output;
  std::size_t sent = 0;
  bool closeWhenSent = false;
};

std::unique_ptr<LoopbackServer> LoopbackServer::start(Connections connections) {
  std::uint16_t port = 0;
  UniqueFd listener = listenOnLoopback(port);
  UniqueFd poller(::epoll_create1(EPOLL_CLOEXEC));
  UniqueFd wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!listener.valid() || !poller.valid() || !wake.valid() ||
      !addToPoller(poller.get(), listener.get(), EPOLLIN) ||
      !addToPoller(poller.get(), wake.get(), EPOLLIN)) {
    return nullptr;
  }
  std::unique_ptr<LoopbackServer> server(new LoopbackServer(
      connections, std::move(listener), std::move(poller), std::move(wake), port));
  server->setAnswer(translationAnswer(1));
  server->thread_ = std::thread([s = server.get()] { s->serve(); });
  return server;
}

LoopbackServer::LoopbackServer(Connections connections, UniqueFd listener, UniqueFd poller,
                               UniqueFd wake, std::uint16_t port)
    : connections_(connections),
      listener_(std::move(listener)),
      poller_(std::move(poller)),
      wake_(std::move(wake)),
      port_(port) {}

LoopbackServer::~LoopbackServer() {
  const std::uint64_t one = 1;
  while (::write(wake_.get(), &one, sizeof one) < 0 && errno == EINTR) {
  }
  thread_.join();
}

std::string LoopbackServer::url() const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(kTranslatePath);
}

void LoopbackServer::setAnswer(std::string_view body) {
  auto response = std::make_shared<const std::string>(responseMessage(body, connections_));
  const std::lock_guard lock(responseMutex_);
  response_ = std::move(response);
}

std::shared_ptr<const std::string> LoopbackServer::currentResponse() {
  const std::lock_guard lock(responseMutex_);
  return response_;
}

void LoopbackServer::serve() {
  std::array<epoll_event, 64> events{};
  for (;;) {
    const int ready = ::epoll_wait(poller_.get(), events.data(), events.size(), -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return;
    for (int i = 0; i < ready; ++i) {
      const int fd = events[i].data.fd;
      const std::uint32_t what = events[i].events;
      if (fd == wake_.get()) return;
      if (fd == listener_.get()) {
        acceptPending();
        continue;
      }
      const auto found = open_.find(fd);
      if (found == open_.end()) continue;
      Connection& connection = *found->second;
      if (!connection.output) {
        onReadable(connection);
        continue;
      }
      if (!flush(connection)) {
        drop(fd);
      } else if (!connection.output) {
        if (connection.closeWhenSent) {
          drop(fd);
          continue;
        }
        watch(connection, false);
        answerCompleteRequests(connection);
      } else if (what & (EPOLLERR | EPOLLHUP)) {
        drop(fd);
      }
    }
  }
}

void LoopbackServer::acceptPending() {
  for (;;) {
    UniqueFd fd(::accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!fd.valid()) return;
    if (!setNoDelay(fd.get()) || !addToPoller(poller_.get(), fd.get(), EPOLLIN)) continue;
    ++accepted_;
    auto connection = std::make_unique<Connection>();
    const int key = fd.get();
    connection->fd = std::move(fd);
    open_.emplace(key, std::move(connection));
  }
}

void LoopbackServer::onReadable(Connection& connection) {
  thread_local std::array<char, kReadChunkBytes> chunk;
  const ssize_t received = ::recv(connection.fd.get(), chunk.data(), chunk.size(), 0);
  if (received < 0 && (errno == EAGAIN || errno == EINTR)) return;
  if (received <= 0) {
    drop(connection.fd.get());
    return;
  }
  connection.input.append(chunk.data(), static_cast<std::size_t>(received));
  answerCompleteRequests(connection);
}

// Answers each whole request waiting in the input, in order. Stops while an answer is still
// being written, and drops the connection on a request it does not take or a failed write.
void LoopbackServer::answerCompleteRequests(Connection& connection) {
  const int fd = connection.fd.get();
  while (!connection.output) {
    if (!connection.head) {
      const std::optional<std::size_t> headBytes = headLength(connection.input);
      if (!headBytes) {
        if (connection.input.size() > kMaxHeadBytes) drop(fd);
        return;
      }
      connection.head = readHead(std::string_view(connection.input).substr(0, *headBytes));
      if (!connection.head) {
        drop(fd);
        return;
      }
    }
    const std::size_t requestBytes = connection.head->headBytes + connection.head->bodyBytes;
    const bool whole = connection.input.size() >= requestBytes;
    if (!whole && (!connection.head->expectsContinue || connection.continueSent)) return;
    if (whole) {
      connection.input.erase(0, requestBytes);
      connection.head.reset();
      connection.continueSent = false;
      connection.output = currentResponse();
      connection.closeWhenSent = connections_ == Connections::closedAfterAnswer;
      ++answered_;
    } else {
      connection.continueSent = true;
      connection.output = continueResponse();
      connection.closeWhenSent = false;
    }
    connection.sent = 0;
    if (!flush(connection)) {
      drop(fd);
      return;
    }
    if (connection.output) {
      watch(connection, true);
      return;
    }
    if (connection.closeWhenSent) {
      drop(fd);
      return;
    }
    if (!whole) return;
  }
}

// Writes what the socket takes of the pending output; false when the connection failed.
bool LoopbackServer::flush(Connection& connection) {
  const std::string& output = *connection.output;
  while (connection.sent < output.size()) {
    const ssize_t written = ::send(connection.fd.get(), output.data() + connection.sent,
                                   output.size() - connection.sent, MSG_NOSIGNAL);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno == EAGAIN) return true;
    if (written < 0) return false;
    connection.sent += static_cast<std::size_t>(written);
  }
  connection.output.reset();
  return true;
}

void LoopbackServer::watch(Connection& connection, bool forWriting) {
  epoll_event event{};
  event.events = forWriting ? EPOLLOUT : EPOLLIN;
  event.data.fd = connection.fd.get();
  ::epoll_ctl(poller_.get(), EPOLL_CTL_MOD, connection.fd.get(), &event);
}

void LoopbackServer::drop(int fd) { open_.erase(fd); }

}  // namespace quillmere
