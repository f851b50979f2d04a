#include "bare_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>
#include <QString>

namespace quillmere {
namespace {

enum class Kind { button, checkBox, textEdit, label };

struct Control {
  Kind kind;
  QRect geometry;
  const char* text;
};

// In the order the tool creates them.
constexpr Control kControls[] = {
    {Kind::button, {335, 312, 80, 30}, "全大写"},
    {Kind::button, {251, 312, 80, 30}, "全小写"},
    {Kind::button, {169, 312, 80, 30}, "下划线"},
    {Kind::button, {87, 312, 80, 30}, "帕斯卡"},
    {Kind::button, {5, 312, 80, 30}, "小驼峰"},
    {Kind::checkBox, {348, 158, 68, 18}, "窗口置顶"},
    {Kind::checkBox, {271, 158, 68, 18}, "自动复制"},
    {Kind::checkBox, {142, 158, 120, 18}, "内容改变自动翻译"},
    {Kind::button, {6, 136, 130, 40}, "开始翻译"},
    {Kind::textEdit, {5, 184, 410, 120}, "请在上方输入框输入原文，此处显示翻译结果！"},
    {Kind::label, {142, 136, 274, 16}, "欲翻译文本支持中英文自动检测,无需指定智能转换"},
    {Kind::textEdit, {6, 8, 410, 120}, ""},
};

QWidget* makeControl(const Control& control, QWidget* window) {
  const QString text = QString::fromUtf8(control.text);
  switch (control.kind) {
    case Kind::button:
      return new QPushButton(text, window);
    case Kind::checkBox:
      return new QCheckBox(text, window);
    case Kind::textEdit:
      return new QPlainTextEdit(text, window);
    case Kind::label:
      return new QLabel(text, window);
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<QWidget> makeBareWindow() {
  auto window = std::make_unique<QWidget>();
  window->setFixedSize(426, 383);
  for (const Control& control : kControls) {
    // The window owns its children and deletes them with itself.
    if (QWidget* widget = makeControl(control, window.get())) widget->setGeometry(control.geometry);
  }
  return window;
}

}  // namespace quillmere
