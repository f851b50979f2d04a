#pragma once

#include "http/http_request.h"

#include <chrono>

namespace quillmere::test {

// Markers that show whether HttpRequest wrote an out argument at all.
inline constexpr int kUnsetStatus = -12345;
inline const Text kUnsetText = "(unset)";

// Everything one HttpRequest call handed back, and how long it took.
struct RequestOutcome {
  Bytes body;
  Text bodyText;
  int status = kUnsetStatus;
  Text headers;
  Text responseHeaders = kUnsetText;
  Text receivedCookies = kUnsetText;
  std::chrono::milliseconds elapsed{0};

  bool failed() const;  // the outcome of a failed exchange
};

// Calls HttpRequest with `arguments`, pointing its status, header and received-cookie out
// arguments at the outcome unless the caller set them. `headers` starts as the in value.
RequestOutcome runRequest(HttpRequestArguments arguments, const Text& headers = {});

}  // namespace quillmere::test
