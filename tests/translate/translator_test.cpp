#include "translate/translator.h"

#include "platform/code_page.h"
#include "support/fake_translation_service.h"
#include "translate/settings.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quillmere {
namespace {

using test::FakeTranslationService;

class TranslateTextTest : public ::testing::Test {
 protected:
  FakeTranslationService service_{settings::kAppId, settings::kSecretKey};
  std::string endpoint_ = service_.endpoint();

  TranslationService target() const { return {endpoint_, settings::kAppId, settings::kSecretKey}; }

  // Runs one translation with out-parameters preset to markers, so unassigned ones show.
  struct Outcome {
    bool ok;
    Text translation;
    Text errorText;
  };
  Outcome translate(const Text& source) {
    Outcome outcome{false, "unassigned", "unassigned"};
    outcome.ok = TranslateText(source, outcome.translation, outcome.errorText, target());
    return outcome;
  }

  void answer(std::string body) {
    service_.answerWith([body](const FakeTranslationService::Request&) { return body; });
  }
};

TEST_F(TranslateTextTest, SendsASignedFormInTheDirectionTheTextCallsFor) {
  struct Case {
    const char* name;
    Text source;
    const char* from;
    const char* to;
  } cases[] = {
      {"ascii", "hello", "en", "zh"},
      {"tab", "get\tname", "zh", "en"},
      {"line break", "get\r\nname", "zh", "en"},
      {"del", "abc\x7F", "en", "zh"},
      {"chinese", Utf8ToGbk("获取用户名"), "zh", "en"},
      {"broken last character", "get\x81", "zh", "en"},
      {"empty", "", "en", "zh"},
  };
  for (const auto& c : cases) {
    translate(c.source);
    const auto sent = service_.requests().back();
    EXPECT_TRUE(sent.problems.empty()) << c.name << ": " << sent.problems.front();
    EXPECT_EQ(sent.contentType, "application/x-www-form-urlencoded") << c.name;
    EXPECT_EQ(sent.query, GbkToUtf8(c.source)) << c.name;
    EXPECT_EQ(sent.fields[2].second, c.from) << c.name;
    EXPECT_EQ(sent.fields[3].second, c.to) << c.name;
  }
  EXPECT_EQ(service_.requests()[0].fields[1].second, "%68%65%6C%6C%6F");
  EXPECT_NE(service_.requests().back().form.find("&q=&from=en&to=zh&salt="), std::string::npos);
}

TEST_F(TranslateTextTest, SaltHasFiveDigitsWithinTheGeneratorsRange) {
  for (int i = 0; i < 20; ++i) translate("salt");
  for (const auto& sent : service_.requests()) {
    const int salt = std::stoi(sent.fields[4].second);
    EXPECT_GE(salt, 10000);
    EXPECT_LE(salt, 42767);
    EXPECT_EQ(sent.fields[5].second.size(), 32u);
  }
}

TEST_F(TranslateTextTest, JoinsEveryEntryWithLineBreaksSkippingLeadingEmptyOnes) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> entries;
    Text want;
  } cases[] = {
      {{{"x", "a"}, {"y", "b"}}, "a\r\nb"},
      {{{"x", ""}, {"y", "b"}}, "b"},
      {{{"x", "a"}, {"y", ""}, {"z", "c"}}, "a\r\n\r\nc"},
      {{{"x", "获取用户名"}}, Utf8ToGbk("获取用户名")},
      {{}, ""},
  };
  for (const auto& c : cases) {
    answer(FakeTranslationService::successAnswer("en", "zh", c.entries));
    const auto outcome = translate("x");
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.translation, c.want);
    EXPECT_EQ(outcome.errorText, "unassigned");
  }
}

TEST_F(TranslateTextTest, ServiceErrorsComeBackAsText) {
  struct Case {
    const char* name;
    std::string body;
    bool ok;
    Text errorText;
  } cases[] = {
      {"rate limited", FakeTranslationService::errorAnswer("54000", "busy"), true, "unassigned"},
      {"rate limited as a number", R"({"error_code":54000,"error_msg":"busy"})", true,
       "unassigned"},
      {"unauthorized", FakeTranslationService::errorAnswer("52003", "UNAUTHORIZED USER"), false,
       Utf8ToGbk("UNAUTHORIZED USER,错误代码：52003")},
      {"numeric code", R"({"error_code":1,"error_msg":"M"})", false, Utf8ToGbk("M,错误代码：1")},
      {"chinese message", FakeTranslationService::errorAnswer("58000", "客户端IP非法"), false,
       Utf8ToGbk("客户端IP非法,错误代码：58000")},
      {"not json", "<html>502 Bad Gateway</html>", false, Utf8ToGbk("访问服务器失败")},
      {"empty body", "", false, Utf8ToGbk("访问服务器失败")},
      {"null root", "null", false, Utf8ToGbk("访问服务器失败")},
  };
  for (const auto& c : cases) {
    answer(c.body);
    const auto outcome = translate("x");
    EXPECT_EQ(outcome.ok, c.ok) << c.name;
    EXPECT_EQ(outcome.translation, "unassigned") << c.name;
    EXPECT_EQ(outcome.errorText, c.errorText) << c.name;
  }
}

TEST_F(TranslateTextTest, KeepsQuotesBackslashesAndPercentSignsOfAWellFormedAnswer) {
  answer(R"({"trans_result":[{"src":"x","dst":"say \"hi\" \\ %41 \u4f60 it\u2019s {$} a\/b"}]})");
  const auto outcome = translate("x");
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ(outcome.translation, Utf8ToGbk("say \"hi\" \\ %41 你 it’s {$} a/b"));
}

TEST_F(TranslateTextTest, FallsBackToTheLenientReaderForAnswersJsonRejects) {
  // \' and \x41 are script escapes, not JSON ones.
  answer(R"({"trans_result":[{"src":"x","dst":"it\'s \x41 \u4f60"}]})");
  const auto outcome = translate("x");
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ(outcome.translation, Utf8ToGbk("it's A 你"));
}

TEST(TranslateTextUnreachable, RefusedConnectionFailsAtOnce) {
  // Bind a port and close it again, so nothing listens there.
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  const std::string endpoint =
      "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/api/trans/vip/translate";

  Text translation = "kept";
  Text errorText;
  EXPECT_FALSE(TranslateText("hello", translation, errorText,
                             {endpoint, settings::kAppId, settings::kSecretKey}));
  EXPECT_EQ(translation, "kept");
  EXPECT_EQ(errorText, Utf8ToGbk("访问服务器失败"));
}

}  // namespace
}  // namespace quillmere
