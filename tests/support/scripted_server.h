#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace quillmere::test {

// One request exactly as it arrived.
struct RecordedRequest {
  std::string requestLine;
  std::vector<std::pair<std::string, std::string>> headers;  // in their order, as spelled
  std::string body;

  std::string method() const;
  std::string target() const;
  // The value of the first header of that name, in any letter case; empty when there is none.
  std::string header(std::string_view name) const;
  int headerCount(std::string_view name) const;
  // Every header line as "Name: value", in order, leaving out the names given.
  std::vector<std::string> headerLines(const std::vector<std::string>& leaveOut = {}) const;
};

// What the server does with one request.
struct ScriptedReply {
  std::string bytes{};                  // sent at once as they stand: status line, headers, body
  std::size_t fillerBytes = 0;          // then this many bytes of 'x', made as they are sent,
                                        // each one paced
  std::chrono::milliseconds pacing{0};  // above zero: each paced byte waits this long
  bool answer = true;                   // false: keep the connection open, never answer
  bool close = false;                   // close the connection after the reply
  std::size_t pacedTail = 0;            // the last this many of `bytes` also wait `pacing` each
  bool reset = false;                   // after the reply, abort the connection with a reset
};

// "HTTP/1.1 <status> <reason>", the given header lines (each ended by "\r\n"), a
// Content-Length for `body`, and `body`.
ScriptedReply httpReply(int status, std::string_view headerLines = {}, std::string_view body = {});

// A raw-socket HTTP/1.1 server on 127.0.0.1 at a free port, for what a ready-made server
// hides or refuses: it records each request as it arrived and answers from a script, which
// may answer slowly, never, with more than a client should take, or break off. Connections stay
// open for further requests unless a reply closes them or the client does.
class ScriptedServer {
 public:
  using Script = std::function<ScriptedReply(const RecordedRequest&)>;

  explicit ScriptedServer(Script script);
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  int port() const { return port_; }
  std::string url(std::string_view path = "/") const;
  // "127.0.0.1:<port>", as a proxy setting names the server.
  std::string address() const;
  std::vector<RecordedRequest> requests() const;
  int acceptedConnections() const { return accepted_; }

 private:
  void acceptLoop();
  void serve(int connection);
  bool readRequest(int connection, std::string& buffer, RecordedRequest& request);
  bool sendReply(int connection, const ScriptedReply& reply);
  bool sendPaced(int connection, std::string_view bytes, std::chrono::milliseconds pacing);
  bool sendAll(int connection, std::string_view bytes);
  bool waitUntilClosed(int connection);

  Script script_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> accepted_{0};
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
  std::vector<std::thread> connections_;
  std::thread acceptor_;
};

// A socket on 127.0.0.1 that listens but never accepts: connections complete in the kernel,
// and what a client sends fills the buffers and then stalls.
class SilentListener {
 public:
  SilentListener();
  ~SilentListener();
  SilentListener(const SilentListener&) = delete;
  SilentListener& operator=(const SilentListener&) = delete;

  std::string url(std::string_view path = "/") const;

 private:
  int listener_ = -1;
  int port_ = 0;
};

// A port on 127.0.0.1 where nothing listens, so a connection to it is refused.
int refusingPort();

}  // namespace quillmere::test
