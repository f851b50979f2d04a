#include "support/server_thread.h"

#include <chrono>

namespace quillmere::test {

ServerThread::ServerThread(httplib::Server& server, std::string_view scheme, int port)
    : server_(server),
      scheme_(scheme),
      port_(port == 0 ? server.bind_to_any_port("127.0.0.1")
                      : (server.bind_to_port("127.0.0.1", port) ? port : -1)) {
  // Each connection serves one request and is then closed, as the answer announces, so that
  // stopping never waits out a client's kept-alive connection. The wait for that one request
  // is generous: on a busy machine a client may take a while to send it after connecting, and
  // closing the connection first would fail an exchange the client did nothing wrong in.
  server_.set_keep_alive_max_count(1);
  server_.set_keep_alive_timeout(5);
  if (port_ <= 0) return;
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // A server stopped before its loop runs would never stop.
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

ServerThread::~ServerThread() {
  server_.stop();
  if (thread_.joinable()) thread_.join();
}

std::string ServerThread::url(std::string_view path) const {
  return scheme_ + "://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

}  // namespace quillmere::test
