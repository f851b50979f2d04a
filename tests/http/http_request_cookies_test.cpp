// Cookies HttpRequest sends, reads from Set-Cookie lines and merges into the caller's string.
#include "http/http_request.h"
#include "request_outcome.h"
#include "support/scripted_server.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quillmere {
namespace {

using test::RecordedRequest;
using test::runRequest;
using test::ScriptedServer;

ScriptedServer settingCookies(std::string lines) {
  return ScriptedServer(
      [lines](const RecordedRequest&) { return test::httpReply(200, lines, "ok"); });
}

TEST(HttpRequestCookies, ReadsAndMergesSetCookieLines) {
  ScriptedServer server = settingCookies("Set-Cookie: a=1; path=/\r\nset-cookie: b=2\r\n");
  const struct {
    const char* name;
    std::optional<Text> cookies;  // absent: not supplied
    std::optional<bool> autoMerge;
    Text received;
    std::optional<Text> cookiesAfter;
    std::string cookieSent;
  } cases[] = {
      {"supplied empty", Text{}, std::nullopt, "a=1; b=2", "a=1; b=2", ""},
      {"absent", std::nullopt, std::nullopt, "a=1; b=2", std::nullopt, ""},
      {"merge switched off", "z=0", false, "a=1; b=2", "z=0", "z=0"},
      {"merged with old", "b=0; z=9", true, "a=1; b=2; z=9", "a=1; b=2; z=9", "b=0; z=9"},
  };
  for (const auto& c : cases) {
    Text cookies = c.cookies.value_or("");
    const auto outcome = runRequest({.url = server.url("/c"),
                                     .cookies = c.cookies ? &cookies : nullptr,
                                     .autoMergeCookies = c.autoMerge});
    EXPECT_EQ(outcome.receivedCookies, c.received) << c.name;
    if (c.cookiesAfter) {
      EXPECT_EQ(cookies, *c.cookiesAfter) << c.name;
    }
    const RecordedRequest sent = server.requests().back();
    EXPECT_EQ(sent.header("Cookie"), c.cookieSent) << c.name;
    EXPECT_EQ(sent.headerCount("Cookie"), c.cookieSent.empty() ? 0 : 1) << c.name;
  }
}

TEST(HttpRequestCookies, NormalisesTheSetCookieNameInResponseHeaders) {
  ScriptedServer server = settingCookies("Set-Cookie: a=1; path=/\r\nset-cookie: b=2\r\n");
  const auto outcome = runRequest({.url = server.url("/c")});
  EXPECT_EQ(outcome.responseHeaders,
            "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nContent-Length: 2\r\n");
}

TEST(HttpRequestCookies, CutsEachCookieOutOfItsLine) {
  const struct {
    const char* name;
    std::string lines;
    Text received;
  } cases[] = {
      {"no cookies", "X-Other: 1\r\n", ""},
      {"attributes dropped", "Set-Cookie:  sid=abc ; HttpOnly; path=/\r\n", "sid=abc"},
      {"upper-case name", "SET-COOKIE: u=1\r\n", "u=1"},
      {"empty cookie still counted", "Set-Cookie:\r\nSet-Cookie: k=v\r\n", "; k=v"},
      {"other headers naming Set-Cookie", "X-Set-Cookie-Note: n=1\r\n", "X-Set-Cookie-Note: n=1"},
  };
  for (const auto& c : cases) {
    ScriptedServer server = settingCookies(c.lines);
    EXPECT_EQ(runRequest({.url = server.url("/")}).receivedCookies, c.received) << c.name;
  }
}

TEST(HttpRequestCookies, CarriesCookiesFromOneCallToTheNext) {
  int call = 0;
  ScriptedServer server([&call](const RecordedRequest&) {
    return ++call == 1
               ? test::httpReply(200, "Set-Cookie: sid=1; path=/\r\nSet-Cookie: t=a\r\n", "1")
               : test::httpReply(200, "Set-Cookie: t=deleted\r\nSet-Cookie: u=2\r\n", "2");
  });
  Text cookies;
  runRequest({.url = server.url("/one"), .cookies = &cookies});
  EXPECT_EQ(cookies, "sid=1; t=a");
  runRequest({.url = server.url("/two"), .cookies = &cookies});
  EXPECT_EQ(cookies, "u=2; sid=1");
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].headerCount("Cookie"), 0);
  EXPECT_EQ(requests[1].header("Cookie"), "sid=1; t=a");
}

}  // namespace
}  // namespace quillmere
