#include "app/translation_triggers.h"

#include "app/translation_cache.h"
#include "window_fixture.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace quillmere::test {
namespace {

class TranslationTriggersTest : public WindowTest {
 protected:
  EditBox* source() const { return window->编辑框_欲翻译文本; }
  EditBox* result() const { return window->编辑框_翻译展示文本; }
  void selectAllAndType(const QString& keys) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    type(keys);
  }
};

TEST_F(TranslationTriggersTest, TypingACharacterTranslatesOnceShowsCopiesAndCaches) {
  service.translate("a", Gbk("一个"));
  type("a");
  EXPECT_EQ(service.calls(), std::vector<Text>{"a"});
  EXPECT_EQ(result()->readText(), Gbk("一个"));
  EXPECT_EQ(clipboardWrites, QStringList{"一个"});
  EXPECT_EQ(g_lastSourceText, "a");
  EXPECT_EQ(g_lastTranslation, Gbk("一个"));

  selectAllAndType("a");  // typed over with the same character: equal to the cache
  EXPECT_EQ(service.calls().size(), 1u);
}

TEST_F(TranslationTriggersTest, EmptyingTheSourceTranslatesOnlyWhenTheCacheHoldsASource) {
  service.translate("a", "A");
  service.translate("", "");
  type("a");
  QTest::keyClick(source(), Qt::Key_Backspace);
  EXPECT_EQ(service.calls(), (std::vector<Text>{"a", ""}));
  EXPECT_EQ(g_lastSourceText, "");

  ClearTranslationCache();
  service.forgetCalls();
  service.fail("b", Gbk("访问服务器失败"));
  type("b");
  QTest::keyClick(source(), Qt::Key_Backspace);
  EXPECT_EQ(service.calls(), std::vector<Text>{"b"});  // the empty source equals the empty cache
}

TEST_F(TranslationTriggersTest,
       WithAutomaticTranslationOffOnlyTheButtonTranslatesAndCachesNothing) {
  service.translate("hello", Gbk("你好"));
  click(window->选择框_内容改变自动翻译);
  source()->setFocus();
  type("hello");
  EXPECT_TRUE(service.calls().empty());

  click(window->按钮_开始翻译);
  click(window->按钮_开始翻译);  // it always translates, even an unchanged source
  EXPECT_EQ(service.calls(), (std::vector<Text>{"hello", "hello"}));
  EXPECT_EQ(result()->readText(), Gbk("你好"));
  EXPECT_EQ(clipboardWrites.last(), "你好");
  EXPECT_EQ(g_lastSourceText, "");
  EXPECT_EQ(g_lastTranslation, "");
}

TEST_F(TranslationTriggersTest, AFailureShowsTheErrorTextAndKeepsTheCache) {
  service.translate("a", Gbk("一个"));
  service.fail("ab", Gbk("访问服务器失败"));
  type("a");
  QTest::keyClick(source(), Qt::Key_End);
  type("b");

  const Text shown = result()->readText();
  EXPECT_EQ(shown, Gbk("执行查询时发生错误！\r\n错误信息：访问服务器失败\r\n"
                       "如果频繁出现此问题,请向作者反馈提交。"));
  // Full-width "！" and "：", ASCII comma, full-width "。" at the end.
  EXPECT_EQ(shown.substr(0, 24),
            "\xD6\xB4\xD0\xD0\xB2\xE9\xD1\xAF\xCA\xB1\xB7\xA2\xC9\xFA\xB4\xED"
            "\xCE\xF3\xA3\xA1\r\n\xB4\xED");
  EXPECT_NE(shown.find("\xCE\xCA\xCC\xE2,\xC7\xEB"), Text::npos);
  EXPECT_EQ(shown.substr(shown.size() - 2), "\xA1\xA3");
  EXPECT_EQ(QueryErrorText(""), Gbk("执行查询时发生错误！\r\n错误信息：\r\n"
                                    "如果频繁出现此问题,请向作者反馈提交。"));

  EXPECT_EQ(clipboardWrites.last(),
            "执行查询时发生错误！\n错误信息：访问服务器失败\n"
            "如果频繁出现此问题,请向作者反馈提交。");
  EXPECT_EQ(g_lastSourceText, "a");
  EXPECT_EQ(g_lastTranslation, Gbk("一个"));
}

TEST_F(TranslationTriggersTest, AnAnswerWithoutResultEmptiesTheBoxAndCachesTheSource) {
  service.translate("b", "bee");
  service.answerWithoutResult("a");
  type("b");
  selectAllAndType("a");
  EXPECT_EQ(result()->readText(), "");
  EXPECT_EQ(g_lastSourceText, "a");
  EXPECT_EQ(g_lastTranslation, "");
}

TEST_F(TranslationTriggersTest, TheResultBoxTranslatesAgainEachTimeItGetsTheFocus) {
  service.translate("x", "get user name");
  type("x");
  click(window->按钮_小驼峰);
  ASSERT_EQ(result()->readText(), "getUserName");

  clickInto(result());
  EXPECT_EQ(service.calls(), (std::vector<Text>{"x", "x"}));
  EXPECT_EQ(result()->readText(), "get user name");
  EXPECT_EQ(result()->textCursor().selectedText(), "get user name");
  EXPECT_EQ(clipboardWrites.last(), "get user name");

  window->按钮_开始翻译->setFocus();
  QTest::keyClick(window->按钮_开始翻译, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), result());
  EXPECT_EQ(service.calls().size(), 3u);
  EXPECT_EQ(result()->textCursor().selectedText(), "get user name");
}

TEST_F(TranslationTriggersTest, TheResultBoxFocusCachesAndSelectsAnErrorTextToo) {
  click(window->选择框_内容改变自动翻译);
  source()->writeText("x");
  service.fail("x", Gbk("访问服务器失败"));
  clickInto(result());
  EXPECT_EQ(result()->readText(), QueryErrorText(Gbk("访问服务器失败")));
  EXPECT_EQ(result()->textCursor().selectionStart(), 0);
  EXPECT_EQ(result()->textCursor().selectionEnd(), result()->document()->characterCount() - 1);
  EXPECT_EQ(g_lastSourceText, "");

  service.translate("x", "ex");
  window->按钮_开始翻译->setFocus();
  clickInto(result());
  EXPECT_EQ(g_lastSourceText, "x");
  EXPECT_EQ(g_lastTranslation, "ex");
}

}  // namespace
}  // namespace quillmere::test
