#pragma once

#include "platform/text.h"

#include <curl/curl.h>

#include <chrono>
#include <optional>

namespace quillmere {

// Drives one configured transfer on an easy handle and collects the final response.
//
// A hostile server is bounded: a response body over kMaxBodyBytes, or more than
// kMaxHeaderBytes of header lines over the whole exchange (redirects and interim responses
// included), ends the exchange as a failed one instead of exhausting memory. Some libcurl
// builds cap the header block lower on their own; this bound holds whatever libcurl does.
//
// With an idle limit, sending and receiving each give up once that long passes without
// progress: a body byte sent or received, or a whole header line received. The clock starts
// when the connection is ready, because resolving and connecting have their own bound.
class CurlExchange {
 public:
  static constexpr std::size_t kMaxBodyBytes = 64u << 20;
  static constexpr std::size_t kMaxHeaderBytes = 1u << 20;

  // Sets the handle's transfer callbacks; the handle must outlive this object.
  CurlExchange(CURL* easy, std::optional<std::chrono::milliseconds> idleLimit);
  CurlExchange(const CurlExchange&) = delete;
  CurlExchange& operator=(const CurlExchange&) = delete;

  // Makes the calling thread's multi handle, which every exchange of the thread runs on, unless
  // it exists already.
  static void prepareThread();

  // Runs the transfer to its end; true when it completed.
  bool perform();

  Bytes& body() { return body_; }
  // The final response's header lines, each ended by "\r\n", without the status line.
  Text& responseHeaders() { return responseHeaders_; }

 private:
  using Clock = std::chrono::steady_clock;

  static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* exchange);
  static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* exchange);
  static int onProgress(void* exchange, curl_off_t downloadTotal, curl_off_t downloaded,
                        curl_off_t uploadTotal, curl_off_t uploaded);
  static int onConnectionReady(void* exchange, char* remoteAddress, char* localAddress,
                               int remotePort, int localPort);

  bool addBody(const char* data, std::size_t length);
  // Makes room for a body of `size` bytes: for the whole body when its length was announced.
  void reserveBody(std::size_t size);
  bool addHeaderLine(std::string_view line);
  bool idleTooLong(Clock::time_point now) const;
  int pollTimeoutMs() const;
  void markProgress() { lastProgress_ = Clock::now(); }

  CURL* easy_;
  std::optional<std::chrono::milliseconds> idleLimit_;
  bool connected_ = false;
  Clock::time_point lastProgress_ = Clock::now();
  curl_off_t downloaded_ = 0;
  curl_off_t uploaded_ = 0;
  std::size_t headerBytes_ = 0;
  Bytes body_;
  Text responseHeaders_;
};

}  // namespace quillmere
