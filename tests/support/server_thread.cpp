#include "support/server_thread.h"

#include <chrono>

namespace quillmere::test {

ServerThread::ServerThread(httplib::Server& server, std::string_view scheme, int port)
    : server_(server),
      scheme_(scheme),
      port_(port == 0 ? server.bind_to_any_port("127.0.0.1")
                      : (server.bind_to_port("127.0.0.1", port) ? port : -1)) {
  // A connection left idle is closed at once, so stopping never waits out a client's
  // kept-alive connection.
  server_.set_keep_alive_timeout(0);
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
