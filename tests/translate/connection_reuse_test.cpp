// Successive translations share one kept-alive connection to the service, and still work when
// the service closes each connection.
#include "platform/code_page.h"
#include "support/fake_translation_service.h"
#include "support/scripted_server.h"
#include "translate/settings.h"
#include "translate/translator.h"

#include <gtest/gtest.h>

#include <string>

namespace quillmere {
namespace {

using test::FakeTranslationService;
using test::RecordedRequest;
using test::ScriptedReply;
using test::ScriptedServer;

ScriptedReply serviceReply(bool closeAfter, bool announceClose) {
  const std::string body =
      FakeTranslationService::successAnswer("en", "zh", {{"get user name", "获取用户名"}});
  std::string headers = "Content-Type: application/json\r\n";
  if (announceClose) headers += "Connection: close\r\n";
  ScriptedReply reply = test::httpReply(200, headers, body);
  reply.close = closeAfter;
  return reply;
}

TEST(TranslationConnections, TwentyTranslationsUseTheConnectionsTheServiceAllows) {
  const struct {
    const char* name;
    ScriptedReply reply;
    int connections;
  } cases[] = {
      {"kept alive", serviceReply(false, false), 1},
      {"closed with notice", serviceReply(true, true), 20},
      {"closed without notice", serviceReply(true, false), 20},
  };
  for (const auto& c : cases) {
    ScriptedServer server([&c](const RecordedRequest&) { return c.reply; });
    const std::string endpoint = server.url("/api/trans/vip/translate");
    const TranslationService service{endpoint, settings::kAppId, settings::kSecretKey};
    for (int i = 0; i < 20; ++i) {
      Text translation;
      Text errorText;
      ASSERT_TRUE(TranslateText("get user name", translation, errorText, service))
          << c.name << " " << i << ": " << GbkToUtf8(errorText);
      EXPECT_EQ(translation, Utf8ToGbk("获取用户名")) << c.name << " " << i;
    }
    EXPECT_EQ(server.requests().size(), 20u) << c.name;
    EXPECT_EQ(server.acceptedConnections(), c.connections) << c.name;
  }
}

}  // namespace
}  // namespace quillmere
