#pragma once

#include "platform/text.h"

#include <string_view>

namespace quillmere {

// The characters of `text` outside U+0020..U+007F (double-byte characters, control
// characters), in order and joined; with `removeWhitespace`, without the white space
// among them.
Text ExtractNonAscii(std::string_view text, bool removeWhitespace = false);

// Whether `text` holds a character outside U+0020..U+007F; DEL does not count.
bool ContainsNonAscii(std::string_view text);

}  // namespace quillmere
