#pragma once

#include "platform/text.h"

#include <QPlainTextEdit>

namespace quillmere {

// A multi-line, word-wrapping edit box that exchanges its content with the program as Text.
// `contentChanged` is raised once for every change the user makes and once for every
// `writeText`, even when the written text equals the old one; the initial text raises none.
class EditBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  EditBox(const QString& initialText, QWidget* parent);

  Text readText() const;
  // Replaces the whole content and raises `contentChanged` before returning.
  void writeText(const Text& text);
  // Selects from the start to the end, with the caret at the end and scrolled into view.
  void selectWholeText();

 signals:
  void contentChanged();
  // The box received the input focus (by a click, by Tab or from its window).
  void gotFocus();
  // Raised before the box handles the double click itself.
  void doubleClicked();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void relayUserChange();

  bool writing_ = false;
  bool pressGaveFocus_ = false;
};

}  // namespace quillmere
