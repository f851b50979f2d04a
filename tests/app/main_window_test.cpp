#include "app/main_window.h"

#include "window_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <vector>

namespace quillmere::test {
namespace {

struct ControlRow {
  QString name;
  QRect geometry;
  QString caption;
};

// The controls in the order in which the window creates them.
const std::vector<ControlRow> kLayout = {
    {"按钮_全大写", {335, 312, 80, 30}, "全大写"},
    {"按钮_全小写", {251, 312, 80, 30}, "全小写"},
    {"按钮_下划线", {169, 312, 80, 30}, "下划线"},
    {"按钮_帕斯卡", {87, 312, 80, 30}, "帕斯卡"},
    {"按钮_小驼峰", {5, 312, 80, 30}, "小驼峰"},
    {"选择框_窗口置顶", {348, 158, 68, 18}, "窗口置顶"},
    {"选择框_自动复制", {271, 158, 68, 18}, "自动复制"},
    {"选择框_内容改变自动翻译", {142, 158, 120, 18}, "内容改变自动翻译"},
    {"按钮_开始翻译", {6, 136, 130, 40}, "开始翻译"},
    {"编辑框_翻译展示文本", {5, 184, 410, 120}, "请在上方输入框输入原文，此处显示翻译结果！"},
    {"透明标签1", {142, 136, 274, 16}, "欲翻译文本支持中英文自动检测,无需指定智能转换"},
    {"编辑框_欲翻译文本", {6, 8, 410, 120}, ""},
};

QString captionOf(const QWidget* control) {
  if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  return qobject_cast<const EditBox*>(control)->toPlainText();
}

bool staysOnTop(const MainWindow& window) {
  return window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint) &&
         window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

int countPixels(const QImage& image, const QColor& color) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == color;
  }
  return count;
}

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, CreatesTheControlsInOrderWithTheirNamesPlacesAndCaptions) {
  const std::vector<QWidget*> members = {window->按钮_全大写,     window->按钮_全小写,
                                         window->按钮_下划线,     window->按钮_帕斯卡,
                                         window->按钮_小驼峰,     window->选择框_窗口置顶,
                                         window->选择框_自动复制, window->选择框_内容改变自动翻译,
                                         window->按钮_开始翻译,   window->编辑框_翻译展示文本,
                                         window->透明标签1,       window->编辑框_欲翻译文本};
  std::vector<QWidget*> created;
  for (QObject* child : window->children()) {
    if (auto* control = qobject_cast<QWidget*>(child)) created.push_back(control);
  }
  ASSERT_EQ(created, members);
  for (std::size_t i = 0; i < kLayout.size(); ++i) {
    SCOPED_TRACE(kLayout[i].name.toStdString());
    EXPECT_EQ(members[i]->objectName(), kLayout[i].name);
    EXPECT_EQ(members[i]->geometry(), kLayout[i].geometry);
    EXPECT_EQ(captionOf(members[i]), kLayout[i].caption);
  }
  // The initial text is the program's own, byte for byte.
  EXPECT_EQ(window->编辑框_翻译展示文本->readText(),
            Gbk("请在上方输入框输入原文，此处显示翻译结果！"));
}

TEST_F(MainWindowTest, StartsCentredOnTopFixedWithEveryBoxCheckedAndTheSourceFocused) {
  EXPECT_TRUE(window->windowTitle().startsWith("QuillmereV1.0  "));
  EXPECT_GT(window->windowTitle().size(), QString("QuillmereV1.0  ").size());

  const QRect screen = window->screen()->geometry();
  EXPECT_EQ(window->frameGeometry().topLeft(),
            screen.topLeft() + QPoint((screen.width() - 426) / 2, (screen.height() - 383) / 2));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  const Qt::WindowFlags flags = window->windowHandle()->flags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(staysOnTop(*window));

  EXPECT_TRUE(window->选择框_窗口置顶->isChecked());
  EXPECT_TRUE(window->选择框_自动复制->isChecked());
  EXPECT_TRUE(window->选择框_内容改变自动翻译->isChecked());
  EXPECT_EQ(window->编辑框_欲翻译文本->readText(), "");
  EXPECT_EQ(QApplication::focusWidget(), window->编辑框_欲翻译文本);

  EXPECT_TRUE(clipboardWrites.isEmpty());
  EXPECT_TRUE(resultWrites.empty());
  EXPECT_TRUE(service.calls().empty());

  const QImage icon = window->windowIcon().pixmap(96, 96).toImage();
  EXPECT_EQ(icon.size(), QSize(96, 96));
  EXPECT_TRUE(icon.hasAlphaChannel());
  // Premultiplied, as a pixmap holds any image with transparency.
  EXPECT_EQ(icon.convertToFormat(QImage::Format_ARGB32_Premultiplied),
            QImage(QStringLiteral(QUILLMERE_ICON_PNG))
                .convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TEST_F(MainWindowTest, DrawsItsColoursAndHidesTheSelectionOfAnUnfocusedBox) {
  const QImage result = window->编辑框_翻译展示文本->viewport()->grab().toImage();
  EXPECT_EQ(result.pixelColor(200, 100), QColor(40, 40, 40));
  EXPECT_GT(countPixels(result, Qt::white), 0);  // the initial text

  const QImage label = window->透明标签1->grab().toImage();
  EXPECT_GT(countPixels(label, QColor(0, 136, 255)), 0);
  EXPECT_EQ(label.pixelColor(273, 0), window->palette().color(QPalette::Button));

  EditBox* source = window->编辑框_欲翻译文本;
  source->insertPlainText("选中的文字");
  source->selectAll();
  const QColor highlight = source->palette().color(QPalette::Active, QPalette::Highlight);
  EXPECT_GT(countPixels(source->viewport()->grab().toImage(), highlight), 0);
  window->按钮_全大写->setFocus();
  EXPECT_TRUE(source->textCursor().hasSelection());
  EXPECT_EQ(countPixels(source->viewport()->grab().toImage(), highlight), 0);
}

TEST_F(MainWindowTest, BoxesUseAnInstalledChineseFaceAtNinePoints) {
  for (QWidget* control :
       std::vector<QWidget*>{window->编辑框_欲翻译文本, window->编辑框_翻译展示文本,
                             window->按钮_开始翻译, window->透明标签1, window->按钮_全大写}) {
    SCOPED_TRACE(control->objectName().toStdString());
    const QFontInfo font(control->font());
    EXPECT_EQ(control->font().pointSize(), 9);
    bool chinese = false;
    for (const QString& family : control->font().families()) {
      chinese = chinese ||
                QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese);
    }
    EXPECT_TRUE(chinese);
  }
  EXPECT_TRUE(QFontDatabase::writingSystems(QFontInfo(window->编辑框_欲翻译文本->font()).family())
                  .contains(QFontDatabase::SimplifiedChinese));
}

TEST_F(MainWindowTest, CopiesEveryChangeOfTheResultBoxWhileAutomaticCopyingIsOn) {
  window->编辑框_翻译展示文本->writeText(Gbk("第一行\r\n第二行"));
  ASSERT_EQ(clipboardWrites.size(), 1);
  EXPECT_EQ(clipboardWrites.last(), "第一行\n第二行");
  EXPECT_EQ(QApplication::clipboard()->text(), "第一行\n第二行");

  window->编辑框_翻译展示文本->writeText(Gbk("第一行\r\n第二行"));
  EXPECT_EQ(clipboardWrites.size(), 2);

  window->编辑框_翻译展示文本->setFocus();
  window->编辑框_翻译展示文本->selectAll();
  const qsizetype before = clipboardWrites.size();
  type("ab");
  EXPECT_EQ(clipboardWrites.size(), before + 2);
  EXPECT_EQ(clipboardWrites.last(), "ab");
}

TEST_F(MainWindowTest, LeavesTheClipboardAloneWhileAutomaticCopyingIsOff) {
  click(window->选择框_自动复制);
  ASSERT_FALSE(window->选择框_自动复制->isChecked());
  window->编辑框_翻译展示文本->writeText(Gbk("不复制"));
  window->编辑框_翻译展示文本->setFocus();
  window->编辑框_翻译展示文本->selectAll();
  type("ab");
  EXPECT_EQ(window->编辑框_翻译展示文本->readText(), "ab");
  EXPECT_TRUE(clipboardWrites.isEmpty());
}

TEST_F(MainWindowTest, SelectsTheWholeSourceTextWhenItGetsTheFocus) {
  EditBox* source = window->编辑框_欲翻译文本;
  const QString text = "获取用户名\n第二行 words";
  source->setPlainText(text);
  window->按钮_全大写->setFocus();
  QTest::keyClick(window->按钮_全大写, Qt::Key_Backtab);  // back from the first control wraps
  ASSERT_EQ(QApplication::focusWidget(), source);
  EXPECT_EQ(source->textCursor().selectedText(),
            QString(text).replace('\n', QChar::ParagraphSeparator));
  EXPECT_EQ(source->textCursor().position(), text.size());

  window->按钮_全大写->setFocus();
  clickInto(source);
  ASSERT_EQ(QApplication::focusWidget(), source);
  EXPECT_EQ(source->textCursor().selectionStart(), 0);
  EXPECT_EQ(source->textCursor().selectionEnd(), text.size());
}

TEST_F(MainWindowTest, SelectsTheWholeTextOfEitherBoxOnADoubleClick) {
  for (EditBox* box : {window->编辑框_欲翻译文本, window->编辑框_翻译展示文本}) {
    SCOPED_TRACE(box->objectName().toStdString());
    box->setFocus();
    box->setPlainText("翻译 结果 text");
    QTextCursor caret = box->textCursor();
    caret.setPosition(3);
    box->setTextCursor(caret);
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(box->textCursor().selectedText(), "翻译 结果 text");
    EXPECT_EQ(box->textCursor().position(), 10);
  }
}

TEST_F(MainWindowTest, AlwaysOnTopFollowsItsCheckBoxWithoutRecreatingOrMovingTheWindow) {
  QWindow* const nativeWindow = window->windowHandle();
  const WId id = window->winId();
  const QRect frame = window->frameGeometry();

  click(window->选择框_窗口置顶);
  EXPECT_FALSE(window->选择框_窗口置顶->isChecked());
  EXPECT_FALSE(window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

  click(window->选择框_窗口置顶);
  EXPECT_TRUE(staysOnTop(*window));

  EXPECT_EQ(window->windowHandle(), nativeWindow);
  EXPECT_EQ(window->winId(), id);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->frameGeometry(), frame);
}

TEST_F(MainWindowTest, EnterBreaksTheLineAndTabLeavesTheBox) {
  type("a");
  QTest::keyClick(window->编辑框_欲翻译文本, Qt::Key_Return);
  type("b");
  EXPECT_EQ(window->编辑框_欲翻译文本->readText(), "a\r\nb");
  QTest::keyClick(window->编辑框_欲翻译文本, Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), window->编辑框_欲翻译文本);
  EXPECT_EQ(window->编辑框_欲翻译文本->readText(), "a\r\nb");
}

TEST_F(MainWindowTest, EscapeClosesTheWindowFromEitherEditBox) {
  for (EditBox* box : {window->编辑框_欲翻译文本, window->编辑框_翻译展示文本}) {
    SCOPED_TRACE(box->objectName().toStdString());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    box->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), box);
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
  }
}

}  // namespace
}  // namespace quillmere::test
