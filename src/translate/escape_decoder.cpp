#include "translate/escape_decoder.h"

#include "platform/code_page.h"
#include "script/string_literal.h"

#include <optional>
#include <string>

namespace quillmere {
namespace {

// The decoding step evaluates the text as the body of a single-quoted string literal, in
// which a line break or an apostrophe would end or break the literal; they travel as
// markers instead and are restored afterwards. "\u" travels as "%u", which the
// unescaping resolves.
constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kLineBreakMarker = "{$}";
constexpr std::string_view kApostrophe = "'";
constexpr std::string_view kApostropheMarker = "\xA1\xAF";  // "’" in code page 936
constexpr std::string_view kEscapeLead = "\\u";
constexpr std::string_view kEscapeLeadMarker = "%u";

// The script engines' global unescape: "%u" and four hexadecimal digits give that UTF-16
// unit, "%" and two give that character; any other "%" stays.
std::u16string unescape(std::u16string_view s) {
  std::u16string out;
  out.reserve(s.size());
  std::size_t k = 0;
  while (k < s.size()) {
    if (s[k] == u'%') {
      if (k + 1 < s.size() && s[k + 1] == u'u') {
        if (const int unit = ReadHexDigits(s, k + 2, 4); unit >= 0) {
          out += static_cast<char16_t>(unit);
          k += 6;
          continue;
        }
      }
      if (const int code = ReadHexDigits(s, k + 1, 2); code >= 0) {
        out += static_cast<char16_t>(code);
        k += 3;
        continue;
      }
    }
    out += s[k++];
  }
  return out;
}

Text protectMarkers(std::string_view text) {
  Text prepared = ReplaceText(text, kLineBreak, kLineBreakMarker);
  // A CR that begins the text cannot be part of a protected line break.
  if (!prepared.empty() && prepared.front() == '\r') prepared.erase(0, 1);
  prepared = ReplaceText(prepared, kEscapeLead, kEscapeLeadMarker);
  return ReplaceText(prepared, kApostrophe, kApostropheMarker);
}

// The prepared text as a string literal, then unescaped; empty where no script engine
// would accept the literal.
Text evaluateEscapes(std::string_view prepared) {
  const auto literal = EvaluateStringLiteral(DecodeCodePage(prepared, kCodePageGbk), u'\'');
  if (!literal) return {};
  return EncodeCodePage(unescape(*literal), kCodePageGbk);
}

}  // namespace

Text DecodeUnicodeEscapes(std::string_view text) {
  const Text prepared = protectMarkers(text);
  Text chosen = evaluateEscapes(prepared);
  if (TextLength(chosen) == 0) chosen = Utf16BytesToText(TextToBytes(prepared));
  return ReplaceText(ReplaceText(chosen, kApostropheMarker, kApostrophe), kLineBreakMarker,
                     kLineBreak);
}

Text Utf16BytesToText(const Bytes& bytes) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t k = 0; k + 1 < bytes.size(); k += 2) {
    units += static_cast<char16_t>(bytes[k] | (bytes[k + 1] << 8));
  }
  std::u16string_view text(units);
  if (!text.empty() && text.front() == u'\uFEFF') text.remove_prefix(1);
  return EncodeCodePage(text, kCodePageGbk);
}

}  // namespace quillmere
