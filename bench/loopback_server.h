#pragma once

#include "unique_fd.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>

namespace quillmere {

// A minimal HTTP/1.1 server on 127.0.0.1 for measuring clients against: one thread, epoll,
// TCP_NODELAY. It reads each request whole (head and Content-Length body, answering
// "Expect: 100-continue") and answers every request, whatever its method or path, with one
// prebuilt 200 response written in one call. Its own work per exchange is kept to the least so
// that what a benchmark measures is the client.
class LoopbackServer {
 public:
  enum class Connections { keptAlive, closedAfterAnswer };

  // Listens on a free port and starts serving the default translation answer; nullptr when the
  // socket cannot be set up.
  static std::unique_ptr<LoopbackServer> start(Connections connections = Connections::keptAlive);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  std::uint16_t port() const { return port_; }
  // The translation endpoint on this server.
  std::string url() const;

  // Serves `body` as the JSON answer to every request from the next one on.
  void setAnswer(std::string_view body);

  std::size_t acceptedConnections() const { return accepted_.load(); }
  std::size_t answeredRequests() const { return answered_.load(); }

 private:
  struct Connection;

  LoopbackServer(Connections connections, UniqueFd listener, UniqueFd poller, UniqueFd wake,
                 std::uint16_t port);
  void serve();
  void acceptPending();
  void onReadable(Connection& connection);
  void answerCompleteRequests(Connection& connection);
  bool flush(Connection& connection);
  void watch(Connection& connection, bool forWriting);
  void drop(int fd);
  std::shared_ptr<const std::string> currentResponse();

  const Connections connections_;
  const UniqueFd listener_;
  const UniqueFd poller_;
  const UniqueFd wake_;
  const std::uint16_t port_;

  std::mutex responseMutex_;
  std::shared_ptr<const std::string> response_;

  std::unordered_map<int, std::unique_ptr<Connection>> open_;
  std::atomic<std::size_t> accepted_ = 0;
  std::atomic<std::size_t> answered_ = 0;
  std::thread thread_;
};

}  // namespace quillmere
