#include "app/main_window.h"
#include "app/translation_cache.h"
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

}  // namespace
}  // namespace quillmere::test
