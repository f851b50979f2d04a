#include "translate/non_ascii.h"

#include "script/regex_object.h"

#include <algorithm>

namespace quillmere {

Text ExtractNonAscii(std::string_view text, bool removeWhitespace) {
  RegexObject regex;
  regex.Create("[^\\x20-\\x7f]", text);
  Text result;
  const int count = regex.MatchCount();
  for (int i = 1; i <= count; ++i) result += regex.MatchText(i);
  if (removeWhitespace) {
    regex.Create("\\s", result);
    result = regex.Replace("");
  }
  return result;
}

// The same answer as asking ExtractNonAscii for a non-empty result, without running a search
// over the whole text on every keystroke: a byte outside 0x20-0x7F always decodes to at least
// one character outside U+0020-U+007F (a double-byte character, the euro sign, a control
// character or the converter's substitute for a byte it cannot read), and text of bytes inside
// that range decodes to itself.
bool ContainsNonAscii(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte > 0x7F;
  });
}

}  // namespace quillmere
