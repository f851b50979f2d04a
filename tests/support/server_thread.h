#pragma once

#include <httplib.h>

#include <string>
#include <string_view>
#include <thread>

namespace quillmere::test {

// Runs an httplib server (plain or TLS) on 127.0.0.1 for the life of this object, at a free
// port unless one is given. The server runs once the constructor returns; it closes idle
// connections at once.
class ServerThread {
 public:
  explicit ServerThread(httplib::Server& server, std::string_view scheme = "http", int port = 0);
  ~ServerThread();
  ServerThread(const ServerThread&) = delete;
  ServerThread& operator=(const ServerThread&) = delete;

  int port() const { return port_; }
  std::string url(std::string_view path = "/") const;

 private:
  httplib::Server& server_;
  std::string scheme_;
  int port_ = -1;
  std::thread thread_;
};

}  // namespace quillmere::test
