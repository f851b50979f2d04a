#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillmere {

// Evaluates `body` as the text between the quotes of a script string literal delimited by
// `quote`, with the rules of ECMAScript 3rd edition and the octal escapes of its Annex B.
// Gives nothing where a script engine would reject the literal: an unescaped quote or line
// terminator in the body, a backslash before a line terminator, or a trailing backslash
// (it would escape the closing quote).
std::optional<std::u16string> EvaluateStringLiteral(std::u16string_view body,
                                                    char16_t quote = u'\'');

}  // namespace quillmere
