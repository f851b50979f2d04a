// Where an exchange may go: redirects, proxies and TLS servers.
#include "http/http_request.h"
#include "request_outcome.h"
#include "support/scripted_server.h"
#include "support/server_thread.h"
#include "support/test_certificate.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using test::RecordedRequest;
using test::runRequest;
using test::ScriptedServer;
using test::ServerThread;

class HttpRequestRedirects : public ::testing::Test {
 protected:
  HttpRequestRedirects() {
    localFile_ = ::testing::TempDir() + "quillmere_local_secret.txt";
    std::ofstream(localFile_) << "local secret";
    server_.Get("/start", [](const httplib::Request&, httplib::Response& response) {
      response.set_redirect("/final");
      response.set_content("moved", "text/plain");
    });
    server_.Get("/final", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("final", "text/plain");
    });
    server_.Get("/loop", [](const httplib::Request&, httplib::Response& response) {
      response.set_redirect("/loop");
    });
    server_.Get("/to-file", [this](const httplib::Request&, httplib::Response& response) {
      response.set_redirect("file://" + localFile_);
    });
    thread_.emplace(server_);
  }

  std::string url(std::string_view path) const { return thread_->url(path); }

  std::string localFile_;
  httplib::Server server_;
  std::optional<ServerThread> thread_;
};

TEST_F(HttpRequestRedirects, FollowsUnlessTold) {
  const auto followed = runRequest({.url = url("/start")});
  EXPECT_EQ(followed.status, 200);
  EXPECT_EQ(followed.bodyText, "final");
  EXPECT_EQ(followed.responseHeaders.find("Location"), std::string::npos);

  const auto stopped = runRequest({.url = url("/start"), .noRedirect = true});
  EXPECT_EQ(stopped.status, 302);
  EXPECT_EQ(stopped.bodyText, "moved");
  EXPECT_NE(stopped.responseHeaders.find("Location: /final\r\n"), std::string::npos);
}

TEST_F(HttpRequestRedirects, NeverReachesBeyondTheWeb) {
  const struct {
    const char* name;
    std::string url;
  } cases[] = {
      {"redirect to a local file", url("/to-file")},
      {"redirect loop", url("/loop")},
      {"local file as the URL", "file://" + localFile_},
  };
  for (const auto& c : cases) {
    const auto outcome = runRequest({.url = c.url});
    EXPECT_TRUE(outcome.failed()) << c.name << ": " << outcome.status;
    EXPECT_EQ(outcome.bodyText.find("secret"), std::string::npos) << c.name;
  }
}

TEST(HttpRequestProxy, SendsEveryRequestThroughTheProxy) {
  ScriptedServer proxy([](const RecordedRequest& request) {
    if (request.method() == "CONNECT") return test::httpReply(403, "", "");
    return test::httpReply(200, "", "via proxy");
  });
  const struct {
    const char* name;
    std::string url;
    Text user, password;
    std::optional<int> mode;
    std::string requestLine;
    std::string credentials;  // empty: no Proxy-Authorization header
    bool answered;
  } cases[] = {
      {"credentials by default", "http://quillmere.invalid/page", "user", "pass", std::nullopt,
       "GET http://quillmere.invalid/page HTTP/1.1", "Basic dXNlcjpwYXNz", true},
      {"mode 1 with an empty password", "http://quillmere.invalid/page", "user", "", 1,
       "GET http://quillmere.invalid/page HTTP/1.1", "Basic dXNlcjo=", true},
      {"user name in code page 936", "http://quillmere.invalid/page", "\xD6\xD0", "p", 1,
       "GET http://quillmere.invalid/page HTTP/1.1", "Basic 1tA6cA==", true},
      {"mode 2 sends none", "http://quillmere.invalid/page", "user", "pass", 2,
       "GET http://quillmere.invalid/page HTTP/1.1", "", true},
      {"no user sends none", "http://quillmere.invalid/page", "", "pass", 1,
       "GET http://quillmere.invalid/page HTTP/1.1", "", true},
      {"tunnel carries the credentials", "https://quillmere.invalid/page", "user", "pass", 1,
       "CONNECT quillmere.invalid:443 HTTP/1.1", "Basic dXNlcjpwYXNz", false},
  };
  for (const auto& c : cases) {
    const auto outcome = runRequest({.url = c.url,
                                     .proxy = proxy.address(),
                                     .proxyUser = c.user,
                                     .proxyPassword = c.password,
                                     .proxyAuthMode = c.mode});
    EXPECT_EQ(outcome.bodyText, c.answered ? "via proxy" : "") << c.name;
    const RecordedRequest sent = proxy.requests().back();
    EXPECT_EQ(sent.requestLine, c.requestLine) << c.name;
    EXPECT_EQ(sent.header("Proxy-Authorization"), c.credentials) << c.name;
    EXPECT_EQ(sent.headerCount("Proxy-Authorization"), c.credentials.empty() ? 0 : 1) << c.name;
  }
}

TEST(HttpRequestProxy, GoesDirectWithoutAProxyWhateverTheEnvironmentSays) {
  ScriptedServer server([](const RecordedRequest&) { return test::httpReply(200, "", "direct"); });
  ScriptedServer environmentProxy(
      [](const RecordedRequest&) { return test::httpReply(200, "", "environment proxy"); });
  const std::string proxyUrl = "http://" + environmentProxy.address();
  ::setenv("http_proxy", proxyUrl.c_str(), 1);
  ::setenv("HTTP_PROXY", proxyUrl.c_str(), 1);
  const auto outcome = runRequest({.url = server.url("/d"), .proxyUser = "user"});
  ::unsetenv("http_proxy");
  ::unsetenv("HTTP_PROXY");
  EXPECT_EQ(outcome.bodyText, "direct");
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests().back().requestLine, "GET /d HTTP/1.1");
  EXPECT_EQ(server.requests().back().headerCount("Proxy-Authorization"), 0);
  EXPECT_TRUE(environmentProxy.requests().empty());
}

TEST(HttpRequestTls, AcceptsTheListedCertificateProblemsOnly) {
  const struct {
    const char* name;
    test::CertificateOptions options;
    bool answered;
  } cases[] = {
      // Every certificate here is self-signed and names another host than 127.0.0.1.
      {"unknown authority, other host", {}, true},
      {"expired", {.validFrom = -48h, .validUntil = -24h}, true},
      {"not yet valid", {.validFrom = 24h, .validUntil = 48h}, true},
      {"meant for clients", {.clientUseOnly = true}, true},
      {"critical extension nobody knows", {.unknownCriticalExtension = true}, false},
  };
  for (const auto& c : cases) {
    const auto made = test::makeSelfSignedCertificate(c.options);
    ASSERT_NE(made.certificate, nullptr) << c.name;
    httplib::SSLServer server(made.certificate.get(), made.key.get());
    ASSERT_TRUE(server.is_valid()) << c.name;
    server.Get("/", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("secure", "text/plain");
    });
    ServerThread thread(server, "https");
    const auto outcome = runRequest({.url = thread.url("/")});
    EXPECT_EQ(outcome.bodyText, c.answered ? "secure" : "") << c.name;
    EXPECT_EQ(outcome.status, c.answered ? 200 : 0) << c.name;
  }
}

}  // namespace
}  // namespace quillmere
