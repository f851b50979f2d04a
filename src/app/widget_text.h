#pragma once

#include "platform/text.h"

#include <QString>

#include <string_view>

namespace quillmere {

// The program's texts are code page 936 with CR LF line breaks; widgets and the clipboard hold
// UTF-16 with LF line breaks. CR LF, a lone CR and a lone LF each become one line break.
QString TextToWidget(std::string_view text);
// Each line break becomes CR LF; a character that code page 936 lacks becomes "?".
Text WidgetToText(const QString& text);

}  // namespace quillmere
