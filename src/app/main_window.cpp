#include "app/main_window.h"

#include "app/clipboard.h"
#include "app/fonts.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QKeySequence>
#include <QPalette>
#include <QPixmap>
#include <QResource>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

#include <utility>

namespace quillmere {
namespace {

constexpr int kOuterWidth = 426;
constexpr int kOuterHeight = 383;
// The controls' positions are in the client area that a fixed 3-pixel border and a 19-pixel
// caption leave inside the outer size; the window manager draws its own frame around it.
constexpr QSize kClientSize(kOuterWidth - 2 * 3, kOuterHeight - 19 - 2 * 3);

constexpr int kIconSize = 96;

const QColor kLabelColor(0, 136, 255);
const QColor kResultBackground(40, 40, 40);

// Names `control` and puts it at `geometry` in its parent's client area.
template <typename Control>
Control* placed(Control* control, const QString& name, const QRect& geometry) {
  control->setObjectName(name);
  control->setGeometry(geometry);
  return control;
}

QPushButton* newButton(QWidget* parent, const QString& name, const QRect& geometry,
                       const QString& caption) {
  auto* button = placed(new QPushButton(caption, parent), name, geometry);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QCheckBox* newCheckBox(QWidget* parent, const QString& name, const QRect& geometry,
                       const QString& caption) {
  auto* box = placed(new QCheckBox(caption, parent), name, geometry);
  box->setChecked(true);
  return box;
}

EditBox* newEditBox(QWidget* parent, const QString& name, const QRect& geometry,
                    const QString& initialText) {
  return placed(new EditBox(initialText, parent), name, geometry);
}

QLabel* newLabel(QWidget* parent, const QString& name, const QRect& geometry,
                 const QString& caption) {
  return placed(new QLabel(caption, parent), name, geometry);
}

// Colours of an edit box in every state. A selection keeps being drawn while the box does not
// have the focus unless its inactive highlight is the box's own colours.
void paintEditBox(EditBox* box, const QColor& text, const QColor& background) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, background);
  palette.setColor(QPalette::Text, text);
  palette.setColor(QPalette::Inactive, QPalette::Highlight, background);
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText, text);
  box->setPalette(palette);
}

// The icon from the pixels prepared when building, read where the resource keeps them.
QIcon preparedIcon() {
  const QResource pixels(QStringLiteral(":/icons/quillmere.argb"));
  if (pixels.compressionAlgorithm() != QResource::NoCompression ||
      pixels.size() != qint64{kIconSize} * kIconSize * 4) {
    return {};
  }
  const QImage image(pixels.data(), kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
  return QIcon(QPixmap::fromImage(image));
}

}  // namespace

MainWindow::MainWindow(TranslateFunction translate, QWidget* parent)
    : QWidget(parent),
      按钮_全大写(newButton(this, QStringLiteral("按钮_全大写"), {335, 312, 80, 30},
                            QStringLiteral("全大写"))),
      按钮_全小写(newButton(this, QStringLiteral("按钮_全小写"), {251, 312, 80, 30},
                            QStringLiteral("全小写"))),
      按钮_下划线(newButton(this, QStringLiteral("按钮_下划线"), {169, 312, 80, 30},
                            QStringLiteral("下划线"))),
      按钮_帕斯卡(newButton(this, QStringLiteral("按钮_帕斯卡"), {87, 312, 80, 30},
                            QStringLiteral("帕斯卡"))),
      按钮_小驼峰(newButton(this, QStringLiteral("按钮_小驼峰"), {5, 312, 80, 30},
                            QStringLiteral("小驼峰"))),
      选择框_窗口置顶(newCheckBox(this, QStringLiteral("选择框_窗口置顶"), {348, 158, 68, 18},
                                  QStringLiteral("窗口置顶"))),
      选择框_自动复制(newCheckBox(this, QStringLiteral("选择框_自动复制"), {271, 158, 68, 18},
                                  QStringLiteral("自动复制"))),
      选择框_内容改变自动翻译(newCheckBox(this, QStringLiteral("选择框_内容改变自动翻译"),
                                          {142, 158, 120, 18}, QStringLiteral("内容改变自动翻译"))),
      按钮_开始翻译(newButton(this, QStringLiteral("按钮_开始翻译"), {6, 136, 130, 40},
                              QStringLiteral("开始翻译"))),
      编辑框_翻译展示文本(newEditBox(this, QStringLiteral("编辑框_翻译展示文本"),
                                     {5, 184, 410, 120},
                                     QStringLiteral("请在上方输入框输入原文，此处显示翻译结果！"))),
      透明标签1(newLabel(this, QStringLiteral("透明标签1"), {142, 136, 274, 16},
                         QStringLiteral("欲翻译文本支持中英文自动检测,无需指定智能转换"))),
      编辑框_欲翻译文本(
          newEditBox(this, QStringLiteral("编辑框_欲翻译文本"), {6, 8, 410, 120}, QString())),
      translate_(std::move(translate)) {
  setUpFrame();
  setUpControls();
  connectHandlers();
  onCreated();
}

void MainWindow::setUpFrame() {
  setWindowTitle(QStringLiteral("QuillmereV1.0  by the Quillmere developers"));
  setWindowIcon(preparedIcon());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientSize);
  setFont(DefaultGuiFont());

  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Button));
  setPalette(palette);
  setAutoFillBackground(true);

  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  move(screen.x() + (screen.width() - kOuterWidth) / 2,
       screen.y() + (screen.height() - kOuterHeight) / 2);

  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void MainWindow::setUpControls() {
  按钮_开始翻译->setFont(YaheiFont());
  for (EditBox* box : {编辑框_翻译展示文本, 编辑框_欲翻译文本}) box->setFont(YaheiFont());
  paintEditBox(编辑框_欲翻译文本, Qt::black, Qt::white);
  paintEditBox(编辑框_翻译展示文本, Qt::white, kResultBackground);

  QPalette labelPalette = 透明标签1->palette();
  labelPalette.setColor(QPalette::WindowText, kLabelColor);
  透明标签1->setPalette(labelPalette);
  透明标签1->setAutoFillBackground(false);
  透明标签1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  编辑框_欲翻译文本->setFocus(Qt::OtherFocusReason);
}

void MainWindow::connectHandlers() {
  connect(选择框_窗口置顶, &QCheckBox::clicked, this, &MainWindow::onAlwaysOnTopClicked);
  connect(编辑框_翻译展示文本, &EditBox::contentChanged, this, &MainWindow::onResultTextChanged);
  connect(编辑框_翻译展示文本, &EditBox::gotFocus, this, &MainWindow::onResultGotFocus);
  connect(编辑框_翻译展示文本, &EditBox::doubleClicked, 编辑框_翻译展示文本,
          &EditBox::selectWholeText);
  connect(编辑框_欲翻译文本, &EditBox::contentChanged, this, &MainWindow::onSourceTextChanged);
  connect(编辑框_欲翻译文本, &EditBox::gotFocus, 编辑框_欲翻译文本, &EditBox::selectWholeText);
  connect(编辑框_欲翻译文本, &EditBox::doubleClicked, 编辑框_欲翻译文本, &EditBox::selectWholeText);
  connect(按钮_开始翻译, &QPushButton::clicked, this, &MainWindow::onTranslateClicked);
  connect(按钮_全大写, &QPushButton::clicked, this, &MainWindow::onUpperCaseClicked);
  connect(按钮_全小写, &QPushButton::clicked, this, &MainWindow::onLowerCaseClicked);
  connect(按钮_下划线, &QPushButton::clicked, this, &MainWindow::onUnderscoreClicked);
  connect(按钮_帕斯卡, &QPushButton::clicked, this, &MainWindow::onPascalCaseClicked);
  connect(按钮_小驼峰, &QPushButton::clicked, this, &MainWindow::onCamelCaseClicked);
}

void MainWindow::onCreated() { setAlwaysOnTop(true); }

void MainWindow::setAlwaysOnTop(bool on) {
  Qt::WindowFlags flags = windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, on);
  // QWidget::setWindowFlags would destroy and re-create a native window that exists, hiding it.
  // Before the first show the widget's own flags are all the native window will be made from;
  // afterwards the native window's flags change in place, which lets the window manager move
  // it between layers without moving, resizing or activating it.
  overrideWindowFlags(flags);
  if (QWindow* window = windowHandle()) window->setFlags(flags);
}

void MainWindow::onAlwaysOnTopClicked() { setAlwaysOnTop(选择框_窗口置顶->isChecked()); }

void MainWindow::onResultTextChanged() {
  if (选择框_自动复制->isChecked()) SetClipboardText(编辑框_翻译展示文本->readText());
}

}  // namespace quillmere
