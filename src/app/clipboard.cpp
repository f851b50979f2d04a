#include "app/clipboard.h"

#include "app/widget_text.h"

#include <QClipboard>
#include <QGuiApplication>

namespace quillmere {

void SetClipboardText(const Text& text) {
  if (QGuiApplication::instance() == nullptr) return;
  QGuiApplication::clipboard()->setText(TextToWidget(text), QClipboard::Clipboard);
}

}  // namespace quillmere
