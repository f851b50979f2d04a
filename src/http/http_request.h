#pragma once

#include "http/request_object.h"
#include "platform/text.h"

#include <optional>

namespace quillmere {

// The arguments of one exchange, for designated initializers (every member has its default).
// Pointers are the caller's variables (nullptr: not supplied); the optionals tell an absent
// argument from a supplied one.
struct HttpRequestArguments {
  Text url{};
  int method = 0;  // 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT
  Text body{};
  Text* cookies = nullptr;          // in/out: sent as "Cookie"; receives the merged cookies
  Text* receivedCookies = nullptr;  // out: the response's cookies, joined by "; "
  Text* headers = nullptr;          // in/out: "Name: value" lines joined by "\r\n"
  Text* responseHeaders = nullptr;  // out
  int* status = nullptr;            // out
  bool noRedirect = false;
  Bytes bodyBytes{};  // sent in place of `body` when not empty
  Text proxy{};
  int timeoutSeconds = 0;  // 0 or below: 15 seconds; -1: libcurl's own time-outs
  Text proxyUser{};
  Text proxyPassword{};
  std::optional<int> proxyAuthMode{};  // absent = 1: send Basic proxy credentials
  RequestObject* requestObject = nullptr;
  std::optional<bool> autoMergeCookies{};  // absent = true
};

// Performs one synchronous HTTP exchange and returns the response body. A failed exchange
// (no connection, a time-out, a refused redirect, an oversized response) gives the empty
// body, empty response headers and cookies and status 0. Never throws. Exchanges reuse
// kept-alive connections across calls; make the calls from one thread at a time, since
// libcurl's shared connection cache is not safe under concurrent transfers.
Bytes HttpRequest(const HttpRequestArguments& arguments);

// Sets up libcurl and the connection share once for the process, and what the calling thread's
// exchanges run on; later calls do nothing. HttpRequest and RequestObject set up what they need
// themselves, so calling it early only moves that cost out of the first exchange.
void InitializeHttp();

}  // namespace quillmere
