#include "http/http_request.h"

#include "http/base64.h"
#include "http/certificate_policy.h"
#include "http/cookies.h"
#include "http/curl_exchange.h"
#include "http/curl_handles.h"
#include "http/header_line.h"
#include "http/http_session.h"
#include "http/text_between.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdint>
#include <exception>

namespace quillmere {
namespace {

using std::chrono::milliseconds;

constexpr std::array<const char*, 8> kMethods = {"GET",     "POST",   "HEAD",  "PUT",
                                                 "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr int kMethodPost = 1;
constexpr int kMethodHead = 2;
constexpr milliseconds kDefaultTimeout{15000};
constexpr long kMaxRedirects = 10;
// Neither the URL nor a redirect may lead anywhere but the web: never to local files.
constexpr const char* kWebProtocols = "http,https";
constexpr std::string_view kUserAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
// Headers libcurl would add on its own unless a header of the name is set.
constexpr std::array<std::string_view, 3> kLibcurlDefaultHeaders = {"accept", "content-type",
                                                                    "expect"};

struct Response {
  Bytes body;
  Text headers;
  int status = 0;
};

int clampMethod(int method) {
  return method < 0 || method >= static_cast<int>(kMethods.size()) ? 0 : method;
}

// The one time-out value, or none to leave libcurl's own.
std::optional<milliseconds> timeoutFor(int timeoutSeconds) {
  if (timeoutSeconds == -1) return std::nullopt;
  if (timeoutSeconds < 1) return kDefaultTimeout;
  return milliseconds(std::min<long long>(timeoutSeconds * 1000LL, INT32_MAX));
}

// Resolving and connecting (proxy and TLS handshakes included) share one bound t; sending and
// receiving each give up after t without progress (CurlExchange); and the whole exchange ends
// after 4t, the four phases' sum, so a server trickling a byte now and then cannot hold the
// caller forever.
void applyTimeouts(CURL* easy, milliseconds timeout) {
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeout.count()));
  curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS,
                   static_cast<long>(std::min<long long>(4 * timeout.count(), LONG_MAX)));
}

void applyFixedSettings(CURL* easy) {
  curl_easy_setopt(easy, CURLOPT_SHARE, sharedConnections());
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, kWebProtocols);
  // A tunnel's proxy response is no part of the response headers.
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  // Proxy credentials go to the proxy only, never through a tunnel to the server.
  curl_easy_setopt(easy, CURLOPT_HEADEROPT, static_cast<long>(CURLHEADER_SEPARATE));
}

void applyProxy(CURL* easy, const Text& proxy) {
  // The empty proxy keeps libcurl from taking one from the environment, and the empty list of
  // exemptions sends every host through the given proxy.
  curl_easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
}

Text proxyCredentials(const HttpRequestArguments& arguments) {
  if (arguments.proxy.empty() || arguments.proxyUser.empty() ||
      arguments.proxyAuthMode.value_or(1) != 1) {
    return {};
  }
  Bytes userAndPassword = TextToBytes(arguments.proxyUser + ":" + arguments.proxyPassword);
  return "Basic " + Base64Encode(userAndPassword);
}

void applyRedirectPolicy(CURL* easy, bool noRedirect) {
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, noRedirect ? 0L : 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, kWebProtocols);
}

// Appends `line` unless the block holds `key` anywhere, letter case respected.
void appendDefaultHeader(Text& headers, std::string_view key, std::string_view line) {
  if (FindText(headers, key) != -1) return;
  if (!headers.empty()) headers += "\r\n";
  headers += line;
}

void completeHeaders(Text& headers, std::string_view url, int method) {
  appendDefaultHeader(headers, "Accept:", "Accept: */*");
  appendDefaultHeader(headers, "Referer:", "Referer: " + Text(url));
  appendDefaultHeader(headers, "Accept-Language:", "Accept-Language: zh-cn");
  appendDefaultHeader(headers, "User-Agent:", "User-Agent: " + Text(kUserAgent));
  if (method == kMethodPost) {
    appendDefaultHeader(headers,
                        "Content-Type:", "Content-Type: application/x-www-form-urlencoded");
  }
}

bool isLineBreakOrNul(char c) { return c == '\r' || c == '\n' || c == '\0'; }

// A header without a name, or with a line break or NUL that would forge further headers, is
// refused and adds nothing to the request.
bool isRefusedHeader(std::string_view name, std::string_view value) {
  return name.empty() || std::any_of(name.begin(), name.end(), isLineBreakOrNul) ||
         std::any_of(value.begin(), value.end(), isLineBreakOrNul);
}

bool isSameName(std::string_view name, std::string_view lowerCaseName) {
  return name.size() == lowerCaseName.size() &&
         std::equal(name.begin(), name.end(), lowerCaseName.begin(), [](char a, char b) {
           return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
         });
}

class RequestHeaders {
 public:
  void set(std::string_view name, std::string_view value) {
    if (isRefusedHeader(name, value)) return;
    // libcurl drops a header written "Name:"; "Name;" sends it with an empty value.
    Text line;
    line.reserve(name.size() + value.size() + 2);
    line.append(name).append(value.empty() ? ";" : ": ").append(value);
    if (!list_.append(line.c_str())) return;
    for (std::size_t i = 0; i < kLibcurlDefaultHeaders.size(); ++i) {
      if (isSameName(name, kLibcurlDefaultHeaders[i])) defaultReplaced_[i] = true;
    }
  }

  // The request carries only the headers set here: libcurl's own defaults are switched off.
  HeaderList finish() {
    for (std::size_t i = 0; i < kLibcurlDefaultHeaders.size(); ++i) {
      if (!defaultReplaced_[i]) list_.append((Text(kLibcurlDefaultHeaders[i]) + ":").c_str());
    }
    return std::move(list_);
  }

 private:
  HeaderList list_;
  std::array<bool, kLibcurlDefaultHeaders.size()> defaultReplaced_{};
};

HeaderList requestHeaders(const Text* cookies, const Text& headers) {
  RequestHeaders request;
  if (cookies != nullptr && !cookies->empty()) request.set("Cookie", *cookies);
  for (const Text& piece : SplitText(headers, "\r\n")) {
    if (!piece.empty()) request.set(HeaderName(piece), HeaderValue(piece));
  }
  return request.finish();
}

// libcurl takes the method together with the body: a POST is its own, other methods are named.
void applyMethodAndBody(CURL* easy, int method, const Text& body, const Bytes& bodyBytes) {
  if (method == kMethodHead) {
    // A HEAD response has no body to wait for, and the request carries none either.
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    return;
  }
  if (method != kMethodPost) curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, kMethods[method]);
  const char* data =
      bodyBytes.empty() ? body.data() : reinterpret_cast<const char*>(bodyBytes.data());
  const std::size_t size = bodyBytes.empty() ? body.size() : bodyBytes.size();
  if (method == kMethodPost || size > 0) {
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(size));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, data);
  }
}

int responseCode(CURL* easy) {
  long code = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
  return static_cast<int>(code);
}

Text normaliseSetCookie(std::string_view headers) {
  return ReplaceText(headers, "Set-Cookie", "Set-Cookie", 1, -1, false);
}

Text receivedCookiesOf(std::string_view responseHeaders) {
  Text cookies;
  for (const Text& line : SplitText(responseHeaders, "\r\n")) {
    if (FindText(line, "Set-Cookie") == -1) continue;
    if (FindText(line, ";") == -1) {
      cookies += TrimBoth(ReplaceText(line, "Set-Cookie:", "", 1, -1, false));
    } else {
      cookies += TrimBoth(TextBetween(line, "Set-Cookie:", ";"));
    }
    cookies += "; ";
  }
  return TextLeft(cookies, TextLength(cookies) - 2);
}

// Configures `easy` for the exchange, runs it and reads the response: the routine's steps from
// the time-outs to the status. `headers` is completed in place.
Response exchange(CURL* easy, const HttpRequestArguments& arguments, int method, Text& headers) {
  applyFixedSettings(easy);
  const auto timeout = timeoutFor(arguments.timeoutSeconds);
  if (timeout) applyTimeouts(easy, *timeout);

  applyProxy(easy, arguments.proxy);
  const Text credentials = proxyCredentials(arguments);

  curl_easy_setopt(easy, CURLOPT_URL, arguments.url.c_str());

  HeaderList proxyHeaders;
  if (!credentials.empty()) proxyHeaders.append(("Proxy-Authorization: " + credentials).c_str());
  curl_easy_setopt(easy, CURLOPT_PROXYHEADER, proxyHeaders.get());

  applyRedirectPolicy(easy, arguments.noRedirect);
  acceptListedCertificateProblems(easy);

  completeHeaders(headers, arguments.url, method);
  const HeaderList sentHeaders = requestHeaders(arguments.cookies, headers);
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, sentHeaders.get());

  applyMethodAndBody(easy, method, arguments.body, arguments.bodyBytes);
  CurlExchange transfer(easy, timeout);
  if (!transfer.perform()) return {};

  Response response;
  response.body = std::move(transfer.body());
  response.headers = normaliseSetCookie(transfer.responseHeaders());
  response.status = responseCode(easy);
  return response;
}

Bytes performRequest(const HttpRequestArguments& arguments) {
  const bool autoMergeCookies = arguments.autoMergeCookies.value_or(true);
  const int method = clampMethod(arguments.method);

  // A request object that cannot be created, or a caller's that holds none: no request is
  // made and the caller's variables keep their values.
  EasyHandle ownHandle;
  CURL* easy = nullptr;
  if (arguments.requestObject != nullptr) {
    easy = arguments.requestObject->handle();
  } else {
    ownHandle = newEasyHandle();
    easy = ownHandle.get();
  }
  if (easy == nullptr) return {};
  // Each exchange starts from the defaults, and leaves no pointer into this call behind.
  curl_easy_reset(easy);

  Text headers = arguments.headers != nullptr ? *arguments.headers : Text{};
  Response response = exchange(easy, arguments, method, headers);
  curl_easy_reset(easy);

  if (arguments.headers != nullptr) *arguments.headers = headers;
  Text receivedCookies = receivedCookiesOf(response.headers);
  if (autoMergeCookies && arguments.cookies != nullptr) {
    receivedCookies = MergeCookies(*arguments.cookies, receivedCookies);
  }
  if (arguments.responseHeaders != nullptr) *arguments.responseHeaders = response.headers;
  if (arguments.status != nullptr) *arguments.status = response.status;
  if (arguments.receivedCookies != nullptr) *arguments.receivedCookies = receivedCookies;
  return std::move(response.body);
}

}  // namespace

Bytes HttpRequest(const HttpRequestArguments& arguments) {
  try {
    return performRequest(arguments);
  } catch (const std::exception&) {
    // Only running out of memory gets here; the exchange then counts as failed.
    return {};
  }
}

}  // namespace quillmere
