#include "app/edit_box.h"

#include "app/widget_text.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QTextCursor>

namespace quillmere {

EditBox::EditBox(const QString& initialText, QWidget* parent) : QPlainTextEdit(parent) {
  setPlainText(initialText);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setTabChangesFocus(true);
  connect(this, &QPlainTextEdit::textChanged, this, &EditBox::relayUserChange);
}

Text EditBox::readText() const { return WidgetToText(toPlainText()); }

void EditBox::writeText(const Text& text) {
  // setPlainText reports its own change; the single report below is the one that counts.
  writing_ = true;
  setPlainText(TextToWidget(text));
  writing_ = false;
  emit contentChanged();
}

void EditBox::selectWholeText() {
  QTextCursor cursor = textCursor();
  cursor.movePosition(QTextCursor::Start);
  cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  setTextCursor(cursor);
  ensureCursorVisible();
}

void EditBox::relayUserChange() {
  if (!writing_) emit contentChanged();
}

void EditBox::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  // Closing the box's own context menu hands the focus back without the box having lost it
  // to another control.
  if (event->reason() == Qt::PopupFocusReason) return;
  pressGaveFocus_ = event->reason() == Qt::MouseFocusReason;
  emit gotFocus();
}

void EditBox::mousePressEvent(QMouseEvent* event) {
  // The press that brought the focus keeps the selection the got-focus handler made, so a
  // single click leaves the whole text selected and ready to copy.
  if (pressGaveFocus_ && event->button() == Qt::LeftButton) {
    pressGaveFocus_ = false;
    event->accept();
    return;
  }
  pressGaveFocus_ = false;
  QPlainTextEdit::mousePressEvent(event);
}

void EditBox::mouseDoubleClickEvent(QMouseEvent* event) {
  emit doubleClicked();
  // The box's own handling of a double click keeps the selection the handler made rather than
  // narrowing it to the word under the pointer.
  event->accept();
}

}  // namespace quillmere
