#include "request_outcome.h"

namespace quillmere::test {

bool RequestOutcome::failed() const {
  return body.empty() && status == 0 && responseHeaders.empty() && receivedCookies.empty();
}

RequestOutcome runRequest(HttpRequestArguments arguments, const Text& headers) {
  RequestOutcome outcome;
  outcome.headers = headers;
  if (arguments.status == nullptr) arguments.status = &outcome.status;
  if (arguments.headers == nullptr) arguments.headers = &outcome.headers;
  if (arguments.responseHeaders == nullptr) arguments.responseHeaders = &outcome.responseHeaders;
  if (arguments.receivedCookies == nullptr) arguments.receivedCookies = &outcome.receivedCookies;
  const auto start = std::chrono::steady_clock::now();
  outcome.body = HttpRequest(arguments);
  outcome.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  outcome.bodyText.assign(outcome.body.begin(), outcome.body.end());
  return outcome;
}

}  // namespace quillmere::test
