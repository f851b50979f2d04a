#pragma once

#include "platform/text.h"

namespace quillmere {

// Replaces the clipboard's content with `text` as plain text, with the platform's own line
// breaks. Does nothing without a running GUI application.
void SetClipboardText(const Text& text);

}  // namespace quillmere
