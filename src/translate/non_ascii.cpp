#include "translate/non_ascii.h"

#include "script/regex_object.h"

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

bool ContainsNonAscii(std::string_view text) { return TextLength(ExtractNonAscii(text)) > 0; }

}  // namespace quillmere
