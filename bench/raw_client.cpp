#include "raw_client.h"

#include "http_head.h"

#include <arpa/inet.h>
#include <array>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <sys/socket.h>

namespace quillmere {
namespace {

constexpr std::string_view kStatusOk = "HTTP/1.1 200 ";

bool sendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

UniqueFd connectLoopback(std::uint16_t port) {
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return {};
  const int on = 1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) != 0 ||
      ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return {};
  }
  return fd;
}

bool rawExchange(int fd, std::string_view request, std::string& response) {
  response.clear();
  if (!sendAll(fd, request)) return false;
  std::array<char, 64 * 1024> chunk;
  std::optional<std::size_t> total;
  while (!total || response.size() < *total) {
    const ssize_t received = ::recv(fd, chunk.data(), chunk.size(), 0);
    if (received < 0 && errno == EINTR) continue;
    if (received <= 0) return false;
    response.append(chunk.data(), static_cast<std::size_t>(received));
    if (total) continue;
    if (const std::optional<std::size_t> headBytes = headLength(response)) {
      const std::optional<std::size_t> bodyBytes =
          contentLength(std::string_view(response).substr(0, *headBytes));
      if (!bodyBytes) return false;
      total = *headBytes + *bodyBytes;
    }
  }
  return response.size() == *total && response.starts_with(kStatusOk);
}

}  // namespace quillmere
