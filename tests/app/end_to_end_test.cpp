#include "app/main_window.h"
#include "app/translation_cache.h"
#include "platform/code_page.h"
#include "support/fake_translation_service.h"
#include "support/scripted_server.h"
#include "translate/settings.h"
#include "translate/translator.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace quillmere::test {
namespace {

// The window over the real translation request, against the loopback service.
class EndToEndTest : public ::testing::Test {
 protected:
  void open(std::string endpoint) {
    endpoint_ = std::move(endpoint);
    ClearTranslationCache();
    window_ = std::make_unique<MainWindow>(
        [this](const Text& source, Text& translation, Text& errorText) {
          return TranslateText(source, translation, errorText,
                               {endpoint_, settings::kAppId, settings::kSecretKey});
        });
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  void TearDown() override {
    window_.reset();
    ClearTranslationCache();
  }

  // Chinese arrives from an input method, one committed character at a time.
  void typeWithInputMethod(const QString& text) {
    for (const QChar c : text) {
      QInputMethodEvent event;
      event.setCommitString(c);
      QApplication::sendEvent(window_->编辑框_欲翻译文本, &event);
    }
  }

  QString resultText() const { return window_->编辑框_翻译展示文本->toPlainText(); }

  // The user's way of putting text in: the clipboard, then Ctrl+V in the source box.
  void paste(const QString& text) {
    QApplication::clipboard()->setText(text);
    window_->编辑框_欲翻译文本->setFocus();
    QTest::keyClick(window_->编辑框_欲翻译文本, Qt::Key_V, Qt::ControlModifier);
  }

  std::string endpoint_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(EndToEndTest, TypedChineseBecomesIdentifiersOnTheClipboard) {
  FakeTranslationService service(settings::kAppId, settings::kSecretKey);
  open(service.endpoint());

  typeWithInputMethod(QStringLiteral("获取用户名"));
  EXPECT_EQ(service.requests().size(), 5u);  // one request per keystroke
  for (const auto& request : service.requests()) EXPECT_TRUE(request.problems.empty());
  EXPECT_EQ(resultText(), "get user name");
  EXPECT_EQ(QApplication::clipboard()->text(), "get user name");

  const std::pair<QPushButton*, const char*> commands[] = {
      {window_->按钮_小驼峰, "getUserName"},   {window_->按钮_帕斯卡, "GetUserName"},
      {window_->按钮_下划线, "get_user_name"}, {window_->按钮_全小写, "getusername"},
      {window_->按钮_全大写, "GETUSERNAME"},
  };
  for (const auto& [button, identifier] : commands) {
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(resultText(), identifier);
    EXPECT_EQ(QApplication::clipboard()->text(), identifier);
  }
  EXPECT_EQ(service.requests().size(), 5u);  // the cache served every command
}

TEST_F(EndToEndTest, AnUnreachableServiceShowsTheErrorText) {
  open("http://127.0.0.1:" + std::to_string(refusingPort()) + "/api/trans/vip/translate");
  QTest::keyClicks(window_->编辑框_欲翻译文本, QStringLiteral("a"));
  EXPECT_EQ(resultText(), QStringLiteral("执行查询时发生错误！\n错误信息：访问服务器失败\n"
                                         "如果频繁出现此问题,请向作者反馈提交。"));
  EXPECT_EQ(g_lastSourceText, "");
}

// The service echoes a text it has no translation for, so the answer shows what it was sent.
TEST_F(EndToEndTest, PastingAMegabyteMakesOneRequestAndShowsTheOutcome) {
  QString megabyte;
  for (int line = 0; megabyte.toUtf8().size() < (1 << 20); line += 1000) {
    QString block;
    for (int i = line; i < line + 1000; ++i) {
      block += QStringLiteral("第%1行：获取用户名 get user name\n").arg(i);
    }
    megabyte += block;
  }
  const QString refused = QStringLiteral(
      "执行查询时发生错误！\n错误信息：Invalid Access Limit,错误代码：54003\n"
      "如果频繁出现此问题,请向作者反馈提交。");
  for (const bool answered : {true, false}) {
    FakeTranslationService service(settings::kAppId, settings::kSecretKey);
    if (!answered) {
      service.answerWith([](const FakeTranslationService::Request&) {
        return FakeTranslationService::errorAnswer("54003", "Invalid Access Limit");
      });
    }
    open(service.endpoint());

    paste(megabyte);
    EXPECT_EQ(window_->编辑框_欲翻译文本->toPlainText().size(), megabyte.size());
    ASSERT_EQ(service.requests().size(), 1u)
        << answered << ", result box: " << resultText().left(200).toStdString();
    const auto request = service.requests().front();
    EXPECT_TRUE(request.problems.empty()) << answered;
    EXPECT_EQ(request.query, QString(megabyte).replace("\n", "\r\n").toStdString());
    EXPECT_EQ(resultText(), answered ? megabyte : refused);
    EXPECT_EQ(QApplication::clipboard()->text(), answered ? megabyte : refused);

    // The window goes on working: typing over the whole text translates the new word.
    QTest::keyClick(window_->编辑框_欲翻译文本, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(window_->编辑框_欲翻译文本, QStringLiteral("user"));
    EXPECT_EQ(service.requests().size(), 5u) << answered;
    EXPECT_EQ(resultText(), answered ? QStringLiteral("用户") : refused);
  }
}

// A character that code page 936 lacks reaches the program as "?", one for each character,
// surrogate pairs included; the text still makes exactly one request and shows its answer.
TEST_F(EndToEndTest, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  const struct {
    QString pasted;
    const char* sent;  // UTF-8
    const char* from;
  } cases[] = {
      {QStringLiteral("😀"), "?", "en"},
      {QStringLiteral("안녕하세요"), "?????", "en"},
      {QStringLiteral("사용자 😀👍🏽 获取用户名"), "??? ??? 获取用户名", "zh"},
      {QStringLiteral("e\u0301t\u00e9 \U0001D54F"), "e?t\xC3\xA9 ?", "zh"},
  };
  for (const auto& c : cases) {
    FakeTranslationService service(settings::kAppId, settings::kSecretKey);
    open(service.endpoint());
    paste(c.pasted);
    ASSERT_EQ(service.requests().size(), 1u) << c.sent;
    const auto request = service.requests().front();
    EXPECT_TRUE(request.problems.empty()) << c.sent;
    EXPECT_EQ(request.query, c.sent);
    EXPECT_EQ(request.fields[2].second, c.from) << c.sent;
    EXPECT_EQ(resultText(), QString::fromUtf8(c.sent));
    EXPECT_EQ(g_lastSourceText, Utf8ToGbk(c.sent));
  }
}

}  // namespace
}  // namespace quillmere::test
