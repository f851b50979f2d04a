// How long and how much an exchange may take, and what it reuses.
#include "http/http_request.h"
#include "request_outcome.h"
#include "support/scripted_server.h"
#include "support/server_thread.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <string>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;
using test::RecordedRequest;
using test::runRequest;
using test::ScriptedReply;
using test::ScriptedServer;

constexpr std::size_t kMiB = 1 << 20;

ScriptedReply head(std::string lines, std::size_t filler = 0, milliseconds pacing = 0ms) {
  return {.bytes = "HTTP/1.1 200 OK\r\n" + lines + "\r\n", .fillerBytes = filler, .pacing = pacing};
}

// The time-outs bound each phase of an exchange, and the whole of it; the figures are
// recorded with the test results.
TEST(HttpRequestTimeouts, BoundEachPhaseAndTheWhole) {
  const struct {
    const char* name;
    ScriptedReply reply;
    int timeoutSeconds;
    bool answered;
    milliseconds atLeast, below;
  } cases[] = {
      {"server never answers", {.answer = false}, 1, false, 950ms, 1500ms},
      {"body trickles within the time-out", head("Content-Length: 5\r\n", 5, 400ms), 1, true,
       1950ms, 3500ms},
      {"body trickles without end", head("Content-Length: 1000\r\n", 1000, 300ms), 1, false, 3950ms,
       5500ms},
      {"answer after 1.2 s with the default time-out", head("Content-Length: 1\r\n", 1, 1200ms), 0,
       true, 1150ms, 3000ms},
      {"answer after 1.2 s, -5 meaning the default", head("Content-Length: 1\r\n", 1, 1200ms), -5,
       true, 1150ms, 3000ms},
      {"answer after 1.2 s with libcurl's own time-outs", head("Content-Length: 1\r\n", 1, 1200ms),
       -1, true, 1150ms, 3000ms},
  };
  for (const auto& c : cases) {
    ScriptedServer server([&c](const RecordedRequest&) { return c.reply; });
    const auto outcome =
        runRequest({.url = server.url("/slow"), .timeoutSeconds = c.timeoutSeconds});
    ::testing::Test::RecordProperty(c.name, std::to_string(outcome.elapsed.count()) + " ms");
    EXPECT_EQ(!outcome.failed(), c.answered) << c.name;
    EXPECT_GE(outcome.elapsed, c.atLeast) << c.name;
    EXPECT_LT(outcome.elapsed, c.below) << c.name;
  }
}

TEST(HttpRequestTimeouts, SendingGivesUpWhenTheServerStopsReading) {
  test::SilentListener server;
  const Text body(32 * kMiB, 'b');
  const auto outcome =
      runRequest({.url = server.url("/upload"), .method = 1, .body = body, .timeoutSeconds = 1});
  ::testing::Test::RecordProperty("stalled upload",
                                  std::to_string(outcome.elapsed.count()) + " ms");
  EXPECT_TRUE(outcome.failed());
  EXPECT_GE(outcome.elapsed, 950ms);
  EXPECT_LT(outcome.elapsed, 2500ms);
}

TEST(HttpRequestTimeouts, ARefusedConnectionReturnsAtOnce) {
  const auto outcome =
      runRequest({.url = "http://127.0.0.1:" + std::to_string(test::refusingPort()) + "/"});
  ::testing::Test::RecordProperty("refused", std::to_string(outcome.elapsed.count()) + " ms");
  EXPECT_TRUE(outcome.failed());
  EXPECT_LT(outcome.elapsed, 1000ms);
}

TEST(HttpRequestLimits, RefuseOversizedResponses) {
  std::string bigHeaders;
  for (int i = 0; bigHeaders.size() <= kMiB; ++i) {
    bigHeaders += "X-Fill-" + std::to_string(i) + ": " + std::string(1000, 'h') + "\r\n";
  }
  const std::string fairHeaders = bigHeaders.substr(0, bigHeaders.rfind("X-Fill-", 200 * 1024));
  const struct {
    const char* name;
    ScriptedReply reply;
    std::size_t bodySize;  // 0: the exchange fails
  } cases[] = {
      {"70 MiB announced", head("Content-Length: " + std::to_string(70 * kMiB) + "\r\n", 70 * kMiB),
       0},
      {"70 MiB until the connection closes",
       {.bytes = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n",
        .fillerBytes = 70 * kMiB,
        .close = true},
       0},
      {"exactly 64 MiB", head("Content-Length: " + std::to_string(64 * kMiB) + "\r\n", 64 * kMiB),
       64 * kMiB},
      {"header block over 1 MiB", head(bigHeaders + "Content-Length: 1\r\n", 1), 0},
      {"header block of 200 KiB", head(fairHeaders + "Content-Length: 1\r\n", 1), 1},
  };
  for (const auto& c : cases) {
    ScriptedServer server([&c](const RecordedRequest&) { return c.reply; });
    const auto outcome = runRequest({.url = server.url("/big")});
    EXPECT_EQ(outcome.body.size(), c.bodySize) << c.name;
    EXPECT_EQ(outcome.status, c.bodySize == 0 ? 0 : 200) << c.name;
  }
}

TEST(HttpRequestConnections, ReuseOneKeptAliveConnection) {
  const struct {
    const char* name;
    ScriptedReply reply;
    int connections;
  } cases[] = {
      {"kept alive", test::httpReply(200, "", "ok"), 1},
      {"closed with notice",
       [] {
         auto reply = test::httpReply(200, "Connection: close\r\n", "ok");
         reply.close = true;
         return reply;
       }(),
       20},
      {"closed without notice",
       [] {
         auto reply = test::httpReply(200, "", "ok");
         reply.close = true;
         return reply;
       }(),
       20},
  };
  for (const auto& c : cases) {
    ScriptedServer server([&c](const RecordedRequest&) { return c.reply; });
    for (int i = 0; i < 20; ++i) {
      ASSERT_EQ(runRequest({.url = server.url("/" + std::to_string(i))}).bodyText, "ok")
          << c.name << " " << i;
    }
    EXPECT_EQ(server.requests().size(), 20u) << c.name;
    EXPECT_EQ(server.acceptedConnections(), c.connections) << c.name;
  }
}

class HttpRequestObject : public ::testing::Test {
 protected:
  HttpRequestObject() {
    server_.Get("/start", [](const httplib::Request&, httplib::Response& response) {
      response.set_redirect("/final");
    });
    server_.Get("/final", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("final", "text/plain");
    });
    thread_.emplace(server_);
  }

  httplib::Server server_;
  std::optional<test::ServerThread> thread_;
};

TEST_F(HttpRequestObject, ServesSeveralCallsWithTheirOwnSettings) {
  RequestObject requestObject;
  ASSERT_FALSE(requestObject.isEmpty());
  const auto first = runRequest(
      {.url = thread_->url("/start"), .noRedirect = true, .requestObject = &requestObject});
  EXPECT_EQ(first.status, 302);
  const auto second = runRequest({.url = thread_->url("/start"), .requestObject = &requestObject});
  EXPECT_EQ(second.status, 200);
  EXPECT_EQ(second.bodyText, "final");
  EXPECT_FALSE(requestObject.isEmpty());
}

TEST_F(HttpRequestObject, AReleasedObjectMakesNoRequest) {
  RequestObject requestObject;
  requestObject.release();
  ASSERT_TRUE(requestObject.isEmpty());
  Text cookies = "a=1";
  const auto outcome = runRequest(
      {.url = thread_->url("/final"), .cookies = &cookies, .requestObject = &requestObject},
      "X-Mine: 1");
  EXPECT_TRUE(outcome.body.empty());
  EXPECT_EQ(outcome.status, test::kUnsetStatus);
  EXPECT_EQ(outcome.headers, "X-Mine: 1");
  EXPECT_EQ(outcome.responseHeaders, test::kUnsetText);
  EXPECT_EQ(outcome.receivedCookies, test::kUnsetText);
  EXPECT_EQ(cookies, "a=1");
}

TEST_F(HttpRequestObject, MovesWithItsHandle) {
  RequestObject original;
  RequestObject moved = std::move(original);
  EXPECT_TRUE(original.isEmpty());
  EXPECT_EQ(runRequest({.url = thread_->url("/final"), .requestObject = &moved}).bodyText, "final");
}

}  // namespace
}  // namespace quillmere
