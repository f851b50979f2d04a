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

// Pieces of the script escape syntax, shared with the regular-expression and unescape readers.
bool IsOctalDigit(char16_t c);
// The character a backslash before `letter` stands for in both strings and patterns: f, n, r,
// t and v; nothing for any other letter ("\b" differs between the two).
std::optional<char16_t> ControlEscape(char16_t letter);
// The value of `digits` hexadecimal digits at `at`; -1 when they are not all there.
int ReadHexDigits(std::u16string_view s, std::size_t at, std::size_t digits);
// An octal escape's value from the digits at `at` (up to three when the first is 0-3, up to
// two otherwise); `at` moves past them.
char16_t ReadOctalEscape(std::u16string_view s, std::size_t& at);

}  // namespace quillmere
