#pragma once

#include "platform/text.h"

#include <string_view>

namespace quillmere {

// Resolves the script string escapes of `text`, JSON's \uXXXX among them, and the %uXXXX
// and %XX escapes, so that escaped characters stand as themselves. Line breaks and
// apostrophes come through unchanged; a right single quotation mark comes back as an
// apostrophe and a literal "{$}" as a line break; a character that code page 936 lacks
// becomes "?". A text that is no valid string-literal body (a lone line feed, a trailing
// backslash) comes back as its bytes read as UTF-16.
Text DecodeUnicodeEscapes(std::string_view text);

// `bytes` read as UTF-16 code units, low byte first, in code page 936. A leading
// byte-order mark is dropped, and so is an odd byte at the end.
Text Utf16BytesToText(const Bytes& bytes);

}  // namespace quillmere
