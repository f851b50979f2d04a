#include "app/naming_commands.h"

#include "app/translation_cache.h"
#include "app/translation_triggers.h"
#include "window_fixture.h"

#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace quillmere::test {
namespace {

using Button = QPushButton* const MainWindow::*;

TEST(WordChanges, ChangeAsciiLettersAndKeepDoubleByteCharactersWhole) {
  // 0x81 0x61 is one character whose second byte is the code of "a".
  EXPECT_EQ(UpperWord("\x81\x61"
                      "ab" +
                      Gbk("中")),
            "\x81\x61"
            "AB" +
                Gbk("中"));
  EXPECT_EQ(LowerWord("\x81\x61"
                      "AB"),
            "\x81\x61"
            "ab");
  EXPECT_EQ(UpperWord(""), "");
  EXPECT_EQ(CapitalizeWord("iPhone"), "IPhone");
  EXPECT_EQ(CapitalizeWord("uRL"), "URL");
  EXPECT_EQ(CapitalizeWord(""), "");
  EXPECT_EQ(CapitalizeWord(Gbk("获取name")), Gbk("获取name"));
  EXPECT_EQ(CapitalizeWord("1st"), "1st");
}

class NamingCommandsTest : public WindowTest {
 protected:
  EditBox* source() const { return window->编辑框_欲翻译文本; }
  EditBox* result() const { return window->编辑框_翻译展示文本; }

  // Fills the cache the way a user does: the source text changes and is translated.
  void cache(const Text& sourceText, const Text& translation) {
    service.translate(sourceText, translation);
    source()->writeText(sourceText);
    ASSERT_EQ(g_lastSourceText, sourceText);
    ASSERT_EQ(g_lastTranslation, translation);
    service.forgetCalls();
    resultWrites.clear();
    clipboardWrites.clear();
  }
  void press(Button button) { click(window.get()->*button); }
};

struct NamingCase {
  Text translation;
  Button button;
  Text identifier;
};

TEST_F(NamingCommandsTest, TurnTheCachedTranslationIntoIdentifiers) {
  const NamingCase cases[] = {
      {"get user name", &MainWindow::按钮_小驼峰, "getUserName"},
      {"get user name", &MainWindow::按钮_帕斯卡, "GetUserName"},
      {"get user name", &MainWindow::按钮_下划线, "get_user_name"},
      {"get user name", &MainWindow::按钮_全小写, "getusername"},
      {"get user name", &MainWindow::按钮_全大写, "GETUSERNAME"},
      {"Get the URL", &MainWindow::按钮_小驼峰, "getTheURL"},
      {"Get the URL", &MainWindow::按钮_帕斯卡, "GetTheURL"},
      {"Get the URL", &MainWindow::按钮_下划线, "Get_the_URL"},
      {"iPhone app", &MainWindow::按钮_小驼峰, "iphoneApp"},
      {"iPhone app", &MainWindow::按钮_帕斯卡, "IPhoneApp"},
      {"get  name", &MainWindow::按钮_小驼峰, "getName"},
      {"get  name", &MainWindow::按钮_下划线, "get__name"},
      {" get name", &MainWindow::按钮_小驼峰, "GetName"},
      {"get name ", &MainWindow::按钮_小驼峰, "getName"},
      {"get name ", &MainWindow::按钮_帕斯卡, "GetName"},
      {"get name ", &MainWindow::按钮_全小写, "getname"},
      {"get name ", &MainWindow::按钮_全大写, "GETNAME"},
      {"get name ", &MainWindow::按钮_下划线, "get_name_"},
      {"a b\r\nc d", &MainWindow::按钮_帕斯卡, "AB\r\ncD"},
      {"a b\r\nc d", &MainWindow::按钮_全大写, "AB\r\nCD"},
      {"a b\r\nc d", &MainWindow::按钮_下划线, "a_b\r\nc_d"},
      {Gbk("获取 名称"), &MainWindow::按钮_帕斯卡, Gbk("获取名称")},
      {Gbk("获取 名称"), &MainWindow::按钮_小驼峰, Gbk("获取名称")},
      {Gbk("获取 名称"), &MainWindow::按钮_下划线, Gbk("获取_名称")},
      {Gbk("获取name value"), &MainWindow::按钮_帕斯卡, Gbk("获取nameValue")},
  };
  int row = 0;
  for (const NamingCase& c : cases) {
    SCOPED_TRACE(c.translation + " -> " + c.identifier);
    cache("source " + std::to_string(++row), c.translation);
    press(c.button);
    EXPECT_EQ(result()->readText(), c.identifier);
    EXPECT_TRUE(service.calls().empty());
    EXPECT_EQ(g_lastTranslation, c.translation);
  }
}

TEST_F(NamingCommandsTest, StartingFromTheResultBoxNeverMatters) {
  cache("s", "get name");
  press(&MainWindow::按钮_帕斯卡);
  result()->writeText("typed over");
  press(&MainWindow::按钮_小驼峰);
  EXPECT_EQ(result()->readText(), "getName");
  EXPECT_EQ(clipboardWrites, (QStringList{"GetName", "typed over", "getName"}));
}

TEST_F(NamingCommandsTest, AnEmptyCacheForTheStartingSourceEmptiesTheResultBox) {
  for (Button button :
       {&MainWindow::按钮_全大写, &MainWindow::按钮_全小写, &MainWindow::按钮_下划线,
        &MainWindow::按钮_帕斯卡, &MainWindow::按钮_小驼峰}) {
    result()->writeText("before");
    press(button);
    EXPECT_EQ(result()->readText(), "");
  }
  EXPECT_TRUE(service.calls().empty());
}

TEST_F(NamingCommandsTest, AChangedSourceIsTranslatedAndShownBeforeItsIdentifier) {
  click(window->选择框_内容改变自动翻译);
  service.translate(Gbk("获取用户名"), "get user name");
  source()->writeText(Gbk("获取用户名"));
  EXPECT_TRUE(service.calls().empty());

  press(&MainWindow::按钮_帕斯卡);
  EXPECT_EQ(service.calls(), std::vector<Text>{Gbk("获取用户名")});
  EXPECT_EQ(resultWrites, (std::vector<Text>{"get user name", "GetUserName"}));
  EXPECT_EQ(clipboardWrites, (QStringList{"get user name", "GetUserName"}));
  EXPECT_EQ(g_lastSourceText, Gbk("获取用户名"));
  EXPECT_EQ(g_lastTranslation, "get user name");

  press(&MainWindow::按钮_全大写);
  EXPECT_EQ(service.calls().size(), 1u);
  EXPECT_EQ(result()->readText(), "GETUSERNAME");
}

TEST_F(NamingCommandsTest, AnAnswerWithoutResultKeepsTheCachedTranslationForTheNewSource) {
  cache(Gbk("获取名称"), "get name");
  click(window->选择框_内容改变自动翻译);
  service.answerWithoutResult("x");
  source()->writeText("x");

  press(&MainWindow::按钮_帕斯卡);
  EXPECT_EQ(service.calls(), std::vector<Text>{"x"});
  EXPECT_EQ(resultWrites, (std::vector<Text>{"get name", "GetName"}));
  EXPECT_EQ(g_lastSourceText, "x");
  EXPECT_EQ(g_lastTranslation, "get name");
}

TEST_F(NamingCommandsTest, AnUnreachableServiceShowsTheErrorThenTheCachedIdentifier) {
  cache(Gbk("获取名称"), "get name");
  click(window->选择框_内容改变自动翻译);
  service.fail(Gbk("新的"), Gbk("访问服务器失败"));
  source()->writeText(Gbk("新的"));

  press(&MainWindow::按钮_帕斯卡);
  EXPECT_EQ(resultWrites, (std::vector<Text>{QueryErrorText(Gbk("访问服务器失败")), "GetName"}));
  EXPECT_EQ(clipboardWrites.size(), 2);
  EXPECT_EQ(g_lastSourceText, Gbk("获取名称"));
  EXPECT_EQ(g_lastTranslation, "get name");

  press(&MainWindow::按钮_小驼峰);  // the cache still belongs to the old source: try again
  EXPECT_EQ(service.calls().size(), 2u);

  ClearTranslationCache();
  resultWrites.clear();
  press(&MainWindow::按钮_全大写);  // nothing cached: the identifier is empty
  EXPECT_EQ(resultWrites, (std::vector<Text>{QueryErrorText(Gbk("访问服务器失败")), ""}));
}

TEST_F(NamingCommandsTest, UnderscoresNeverTranslateAndUseWhateverIsCached) {
  cache(Gbk("获取名称"), "get name");
  click(window->选择框_内容改变自动翻译);
  service.translate(Gbk("新的单词"), "new words");
  source()->writeText(Gbk("新的单词"));

  press(&MainWindow::按钮_下划线);
  EXPECT_EQ(result()->readText(), "get_name");
  click(window->按钮_开始翻译);  // shows the new translation without caching it
  EXPECT_EQ(result()->readText(), "new words");
  press(&MainWindow::按钮_下划线);
  EXPECT_EQ(result()->readText(), "get_name");
  EXPECT_EQ(service.calls().size(), 1u);

  press(&MainWindow::按钮_全大写);
  EXPECT_EQ(service.calls().size(), 2u);
  EXPECT_EQ(result()->readText(), "NEWWORDS");
}

}  // namespace
}  // namespace quillmere::test
