#include "app/edit_box.h"

#include "window_fixture.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace quillmere::test {
namespace {

class EditBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent.resize(300, 200);
    box->setGeometry(0, 0, 300, 120);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  }

  QWidget parent;
  EditBox* box = new EditBox(QStringLiteral("初始"), &parent);
  QSignalSpy changes{box, &EditBox::contentChanged};
};

TEST_F(EditBoxTest, ExchangesCodePage936TextWithCrLfLineBreaks) {
  EXPECT_EQ(box->readText(), Gbk("初始"));
  const struct {
    Text written;
    QString shown;
    Text read;
  } cases[] = {
      {Gbk("获取\r\n用户名"), "获取\n用户名", Gbk("获取\r\n用户名")},
      {"a\nb\rc", "a\nb\nc", "a\r\nb\r\nc"},
      {"a\r\n\r\n", "a\n\n", "a\r\n\r\n"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    box->writeText(c.written);
    EXPECT_EQ(box->toPlainText(), c.shown);
    EXPECT_EQ(box->readText(), c.read);
  }
  box->setPlainText(QString::fromUtf8("a\xF0\x9F\x98\x80 \xEC\x95\x88 é"));
  EXPECT_EQ(box->readText(), "a? ? " + Gbk("é"));
}

TEST_F(EditBoxTest, RaisesTextChangedOnceForEveryWriteAndEveryEdit) {
  EXPECT_EQ(changes.count(), 0);  // the initial text raised none
  int seenDuringWrite = -1;
  QObject::connect(box, &EditBox::contentChanged, box, [&] {
    if (box->readText() == "new") seenDuringWrite = changes.count();
  });
  box->writeText("new");
  EXPECT_EQ(changes.count(), 1);  // before writeText returned, with the new text in place
  EXPECT_EQ(seenDuringWrite, 1);
  box->writeText("new");
  EXPECT_EQ(changes.count(), 2);
  box->writeText("");
  EXPECT_EQ(changes.count(), 3);

  box->setFocus();
  QTest::keyClicks(box, "ab");
  EXPECT_EQ(changes.count(), 5);
  box->selectAll();
  QTest::keyClicks(box, "c");  // typing over a selection is one change
  EXPECT_EQ(changes.count(), 6);
  EXPECT_EQ(box->readText(), "c");
  box->undo();
  EXPECT_EQ(changes.count(), 7);
}

TEST_F(EditBoxTest, SelectingTheWholeTextPutsTheCaretAtTheEndInView) {
  Text lines;
  for (int i = 0; i < 40; ++i) lines += Gbk("第") + std::to_string(i) + Gbk("行\r\n");
  lines += "end";
  box->writeText(lines);
  ASSERT_EQ(box->verticalScrollBar()->value(), 0);
  box->selectWholeText();
  const QTextCursor cursor = box->textCursor();
  EXPECT_EQ(cursor.selectionStart(), 0);
  EXPECT_EQ(cursor.position(), box->document()->characterCount() - 1);
  EXPECT_EQ(cursor.anchor(), 0);
  EXPECT_EQ(box->verticalScrollBar()->value(), box->verticalScrollBar()->maximum());
  EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace quillmere::test
