// What HttpRequest puts on the wire: request line, header block and body, recorded byte for
// byte by a raw-socket server.
#include "http/http_request.h"
#include "request_outcome.h"
#include "support/scripted_server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillmere {
namespace {

using test::RecordedRequest;
using test::runRequest;
using test::ScriptedServer;
using Lines = std::vector<std::string>;

const std::string kUserAgent = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
const std::string kFormType = "Content-Type: application/x-www-form-urlencoded";

// Headers that libcurl adds from the URL and the body; every other header was set by us.
const Lines kTransportHeaders = {"Host", "Content-Length"};

std::string joined(const Lines& lines) {
  std::string text;
  for (const auto& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

ScriptedServer answeringOk() {
  return ScriptedServer([](const RecordedRequest& request) {
    // A HEAD answer announces a body it does not send.
    if (request.method() == "HEAD")
      return test::ScriptedReply{"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n"};
    return test::httpReply(200, "", "ok");
  });
}

TEST(HttpRequestWire, SendsTheDefaultHeaderLinesInOrder) {
  ScriptedServer server = answeringOk();
  const std::string url = server.url("/api/trans?x=1");
  const std::string referer = "Referer: " + url;
  const struct {
    int method;
    std::string requestLine;
    Lines lines;
  } cases[] = {
      {1,
       "POST /api/trans?x=1 HTTP/1.1",
       {"Accept: */*", referer, "Accept-Language: zh-cn", kUserAgent, kFormType}},
      {0,
       "GET /api/trans?x=1 HTTP/1.1",
       {"Accept: */*", referer, "Accept-Language: zh-cn", kUserAgent}},
  };
  for (const auto& c : cases) {
    const auto outcome = runRequest({.url = url, .method = c.method, .body = "q=apple"});
    ASSERT_EQ(outcome.bodyText, "ok");
    EXPECT_EQ(outcome.headers, joined(c.lines));
    const RecordedRequest sent = server.requests().back();
    EXPECT_EQ(sent.requestLine, c.requestLine);
    EXPECT_EQ(sent.headerLines(kTransportHeaders), c.lines);
    EXPECT_EQ(sent.header("Host"), server.address());
    EXPECT_EQ(sent.body, "q=apple");
  }
}

TEST(HttpRequestWire, TakesTheMethodFromTheTable) {
  ScriptedServer server = answeringOk();
  const struct {
    int method;
    std::string sent;
    std::string body;
  } cases[] = {
      {8, "GET", "ok"},   {-1, "GET", "ok"},    {0, "GET", "ok"},     {1, "POST", "ok"},
      {2, "HEAD", ""},    {3, "PUT", "ok"},     {4, "OPTIONS", "ok"}, {5, "DELETE", "ok"},
      {6, "TRACE", "ok"}, {7, "CONNECT", "ok"},
  };
  for (const auto& c : cases) {
    const auto outcome = runRequest({.url = server.url("/m"), .method = c.method, .body = "b=1"});
    EXPECT_EQ(outcome.status, 200) << c.method;
    EXPECT_EQ(outcome.bodyText, c.body) << c.method;
    const RecordedRequest sent = server.requests().back();
    EXPECT_EQ(sent.requestLine, c.sent + " /m HTTP/1.1") << c.method;
    // Only a POST gets a Content-Type, and only a HEAD goes without the body.
    EXPECT_EQ(sent.headerCount("Content-Type"), c.method == 1 ? 1 : 0) << c.method;
    EXPECT_EQ(sent.body, c.method == 2 ? "" : "b=1") << c.method;
  }
}

TEST(HttpRequestWire, CompletesTheCallersHeaderBlock) {
  ScriptedServer server = answeringOk();
  const std::string url = server.url("/h");
  const std::string referer = "Referer: " + url;
  const struct {
    const char* name;
    std::string given;
    int method;
    Lines completed;  // the block handed back
    Lines sent;       // the header lines on the wire
  } cases[] = {
      {"own user agent kept",
       "User-Agent: test",
       0,
       {"User-Agent: test", "Accept: */*", referer, "Accept-Language: zh-cn"},
       {"User-Agent: test", "Accept: */*", referer, "Accept-Language: zh-cn"}},
      {"key search respects case",
       "accept: text/html",
       0,
       {"accept: text/html", "Accept: */*", referer, "Accept-Language: zh-cn", kUserAgent},
       {"accept: text/html", "Accept: */*", referer, "Accept-Language: zh-cn", kUserAgent}},
      {"key found inside another name",
       "X-Accept: 1",
       0,
       {"X-Accept: 1", referer, "Accept-Language: zh-cn", kUserAgent},
       {"X-Accept: 1", referer, "Accept-Language: zh-cn", kUserAgent}},
      {"own content type on a post",
       "Content-Type: text/plain",
       1,
       {"Content-Type: text/plain", "Accept: */*", referer, "Accept-Language: zh-cn", kUserAgent},
       {"Content-Type: text/plain", "Accept: */*", referer, "Accept-Language: zh-cn", kUserAgent}},
      {"line without a colon refused, empty value kept",
       "Broken\r\nX-Empty:\r\n\r\nX-Set: 1",
       0,
       {"Broken", "X-Empty:", "", "X-Set: 1", "Accept: */*", referer, "Accept-Language: zh-cn",
        kUserAgent},
       {"X-Empty: ", "X-Set: 1", "Accept: */*", referer, "Accept-Language: zh-cn", kUserAgent}},
      {"bare line feed cannot add a header",
       "X-Note: a\nInjected: 1",
       0,
       {"X-Note: a\nInjected: 1", "Accept: */*", referer, "Accept-Language: zh-cn", kUserAgent},
       {"Accept: */*", referer, "Accept-Language: zh-cn", kUserAgent}},
  };
  for (const auto& c : cases) {
    const auto outcome = runRequest({.url = url, .method = c.method}, c.given);
    ASSERT_EQ(outcome.bodyText, "ok") << c.name;
    EXPECT_EQ(outcome.headers, joined(c.completed)) << c.name;
    EXPECT_EQ(server.requests().back().headerLines(kTransportHeaders), c.sent) << c.name;
  }
}

TEST(HttpRequestWire, SendsTheBodyAsGiven) {
  ScriptedServer server = answeringOk();
  const Bytes binary = {0x00, 0x01, 'x', 0xFF, 0x00};
  const struct {
    const char* name;
    Text body;
    Bytes bodyBytes;
    std::string sent;
  } cases[] = {
      {"bytes win over text", "ignored", binary, std::string("\0\x01x\xFF\0", 5)},
      {"text as its bytes", "q=\xD6\xD0&x=1", {}, "q=\xD6\xD0&x=1"},
      {"empty body", "", {}, ""},
  };
  for (const auto& c : cases) {
    const auto outcome = runRequest(
        {.url = server.url("/b"), .method = 1, .body = c.body, .bodyBytes = c.bodyBytes});
    ASSERT_EQ(outcome.bodyText, "ok") << c.name;
    const RecordedRequest sent = server.requests().back();
    EXPECT_EQ(sent.body, c.sent) << c.name;
    EXPECT_EQ(sent.header("Content-Length"), std::to_string(c.sent.size())) << c.name;
  }
}

TEST(HttpRequestWire, SendsALargeBodyWithoutWaitingForAContinue) {
  ScriptedServer server = answeringOk();
  const Text body(3 << 20, 'b');
  const auto outcome = runRequest({.url = server.url("/big"), .method = 1, .body = body});
  ASSERT_EQ(outcome.bodyText, "ok");
  const RecordedRequest sent = server.requests().back();
  EXPECT_EQ(sent.headerCount("Expect"), 0);
  EXPECT_EQ(sent.body.size(), body.size());
}

}  // namespace
}  // namespace quillmere
