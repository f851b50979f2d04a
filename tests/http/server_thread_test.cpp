// The loopback server the HTTP and translation tests run against must not fail an exchange on
// its own: on a busy machine a client may connect and send its request a while later.
#include "support/server_thread.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

// Connects to the port, waits, sends `request` and returns everything read until the server
// closes the connection.
std::string exchangeLate(int port, std::chrono::milliseconds wait, const std::string& request) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  std::string reply;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    std::this_thread::sleep_for(wait);
    if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
        static_cast<ssize_t>(request.size())) {
      char chunk[4096];
      for (ssize_t n; (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0;) reply.append(chunk, n);
    }
  }
  ::close(fd);
  return reply;
}

TEST(ServerThread, AnswersARequestSentLongAfterConnectingAndThenCloses) {
  httplib::Server server;
  server.Get("/", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("here", "text/plain");
  });
  const test::ServerThread thread(server);
  const std::string reply =
      exchangeLate(thread.port(), 300ms, "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
  EXPECT_TRUE(reply.starts_with("HTTP/1.1 200 OK\r\n")) << reply;
  EXPECT_NE(reply.find("Connection: close\r\n"), std::string::npos) << reply;
  EXPECT_TRUE(reply.ends_with("\r\n\r\nhere")) << reply;
}

}  // namespace
}  // namespace quillmere
