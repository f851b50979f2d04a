#include "loopback_server.h"

#include "curl_poster.h"
#include "raw_client.h"
#include "service_messages.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <sys/time.h>

namespace quillmere {
namespace {

constexpr std::string_view kSource = "get user name";

// A bounded wait, so that a server that never answers fails the test instead of hanging it.
void limitWaits(int fd) {
  timeval limit{};
  limit.tv_sec = 5;
  ASSERT_EQ(::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit), 0);
}

// What one read brings: the empty text when the server closed the connection, nullopt when the
// wait ran out or failed.
std::optional<std::string> receiveSome(int fd) {
  std::array<char, 4096> chunk;
  const ssize_t received = ::recv(fd, chunk.data(), chunk.size(), 0);
  if (received < 0) return std::nullopt;
  return std::string(chunk.data(), static_cast<std::size_t>(received));
}

struct ReuseCase {
  LoopbackServer::Connections connections;
  std::size_t expectedConnections;
};

class CurlReuse : public testing::TestWithParam<ReuseCase> {};

TEST_P(CurlReuse, TwentyPostsAreAnsweredOverTheExpectedConnections) {
  const auto server = LoopbackServer::start(GetParam().connections);
  ASSERT_TRUE(server);
  CurlFormPoster poster(server->url(), translationForm(kSource));
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(poster.post()) << "post " << i;
    EXPECT_EQ(poster.body(), translationAnswer(1));
  }
  EXPECT_EQ(server->answeredRequests(), 20u);
  EXPECT_EQ(server->acceptedConnections(), GetParam().expectedConnections);
}

INSTANTIATE_TEST_SUITE_P(LoopbackServer, CurlReuse,
                         testing::Values(ReuseCase{LoopbackServer::Connections::keptAlive, 1},
                                         ReuseCase{LoopbackServer::Connections::closedAfterAnswer,
                                                   20}),
                         [](const testing::TestParamInfo<ReuseCase>& info) {
                           return info.param.connections == LoopbackServer::Connections::keptAlive
                                      ? "KeptAlive"
                                      : "ClosedAfterAnswer";
                         });

TEST(LoopbackServer, LargeFormAndLargeAnswerArriveWhole) {
  const auto server = LoopbackServer::start();
  ASSERT_TRUE(server);
  const std::string answer = translationAnswer(10000);
  server->setAnswer(answer);
  CurlFormPoster poster(server->url(), translationForm(std::string(64 * 1024, 'w')));
  ASSERT_TRUE(poster.post());
  EXPECT_EQ(poster.body(), answer);
  ASSERT_TRUE(poster.post());
  EXPECT_EQ(poster.body(), answer);
  EXPECT_EQ(server->acceptedConnections(), 1u);
}

TEST(LoopbackServer, RawExchangesShareOneConnection) {
  const auto server = LoopbackServer::start();
  ASSERT_TRUE(server);
  const UniqueFd connection = connectLoopback(server->port());
  ASSERT_TRUE(connection.valid());
  const std::string request = translationPostMessage(server->port(), translationForm(kSource));
  std::string response;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(rawExchange(connection.get(), request, response)) << "exchange " << i;
    EXPECT_TRUE(response.ends_with("\r\n\r\n" + translationAnswer(1)));
  }
  EXPECT_EQ(server->acceptedConnections(), 1u);
}

TEST(LoopbackServer, ClosingServerClosesAfterItsAnswer) {
  const auto server = LoopbackServer::start(LoopbackServer::Connections::closedAfterAnswer);
  ASSERT_TRUE(server);
  const UniqueFd connection = connectLoopback(server->port());
  ASSERT_TRUE(connection.valid());
  limitWaits(connection.get());
  std::string response;
  ASSERT_TRUE(rawExchange(connection.get(),
                          translationPostMessage(server->port(), translationForm(kSource)),
                          response));
  EXPECT_EQ(receiveSome(connection.get()), "");
}

TEST(LoopbackServer, AnswersExpectContinueBeforeTheBodyIsSent) {
  const auto server = LoopbackServer::start();
  ASSERT_TRUE(server);
  const UniqueFd connection = connectLoopback(server->port());
  ASSERT_TRUE(connection.valid());
  limitWaits(connection.get());
  const std::string head =
      "POST / HTTP/1.1\r\nHost: x\r\nExpect: 100-continue\r\nContent-Length: 5\r\n\r\n";
  ASSERT_EQ(::send(connection.get(), head.data(), head.size(), 0),
            static_cast<ssize_t>(head.size()));
  EXPECT_EQ(receiveSome(connection.get()), "HTTP/1.1 100 Continue\r\n\r\n");
  std::string response;
  ASSERT_TRUE(rawExchange(connection.get(), "hello", response));
  EXPECT_TRUE(response.ends_with(translationAnswer(1)));
}

TEST(LoopbackServer, ClosesAConnectionWhoseBodyLengthIsUnreadable) {
  const auto server = LoopbackServer::start();
  ASSERT_TRUE(server);
  const UniqueFd connection = connectLoopback(server->port());
  ASSERT_TRUE(connection.valid());
  limitWaits(connection.get());
  const std::string head = "POST / HTTP/1.1\r\nContent-Length: 12x\r\n\r\n";
  ASSERT_EQ(::send(connection.get(), head.data(), head.size(), 0),
            static_cast<ssize_t>(head.size()));
  EXPECT_EQ(receiveSome(connection.get()), "");
  EXPECT_EQ(server->answeredRequests(), 0u);
}

}  // namespace
}  // namespace quillmere
