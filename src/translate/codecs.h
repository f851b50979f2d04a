#pragma once

#include "platform/code_page.h"
#include "platform/text.h"

#include <string_view>

namespace quillmere {

// Percent-encodes every byte as "%XX" (upper-case digits); with `keepSafe`, "-", ".",
// digits and ASCII letters stay as they are. With `asUtf8` the UTF-8 form of the text is
// encoded instead of its code page 936 bytes. The empty text gives the empty text.
Text UrlEncode(std::string_view text, bool keepSafe = false, bool asUtf8 = false);

// The UTF-8 bytes of the same characters, as a Text.
Text AnsiToUtf8(std::string_view text);

// The UTF-16LE units of the text, read up to its first NUL, followed by one zero unit.
// An unsupported code page gives empty Bytes.
Bytes AnsiToWide(std::string_view text, int codePage = kCodePageUtf8);

// The UTF-16LE units read up to the first zero unit (or the end of the Bytes), in
// `codePage`.
Text WideToAnsi(const Bytes& units, int codePage = kCodePageAnsi);

// UTF-8 bytes to code page 936 text, which ends where the bytes hold their first 0.
Text Utf8BytesToAnsi(const Bytes& bytes);

}  // namespace quillmere
