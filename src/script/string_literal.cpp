#include "script/string_literal.h"

namespace quillmere {
namespace {

bool isLineTerminator(char16_t c) {
  return c == u'\n' || c == u'\r' || c == u'\u2028' || c == u'\u2029';
}

int hexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

char16_t singleCharacterEscape(char16_t c) {
  if (c == u'b') return u'\b';
  // Quotes, the backslash and every character that begins no escape stand for themselves.
  return ControlEscape(c).value_or(c);
}

}  // namespace

bool IsOctalDigit(char16_t c) { return c >= u'0' && c <= u'7'; }

std::optional<char16_t> ControlEscape(char16_t letter) {
  switch (letter) {
    case u'f':
      return u'\f';
    case u'n':
      return u'\n';
    case u'r':
      return u'\r';
    case u't':
      return u'\t';
    case u'v':
      return u'\v';
    default:
      return std::nullopt;
  }
}

int ReadHexDigits(std::u16string_view s, std::size_t at, std::size_t digits) {
  if (at > s.size() || s.size() - at < digits) return -1;
  int value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const int d = hexValue(s[at + i]);
    if (d < 0) return -1;
    value = value * 16 + d;
  }
  return value;
}

char16_t ReadOctalEscape(std::u16string_view s, std::size_t& at) {
  const std::size_t maxDigits = s[at] <= u'3' ? 3 : 2;
  int value = 0;
  for (std::size_t n = 0; n < maxDigits && at < s.size() && IsOctalDigit(s[at]); ++n, ++at) {
    value = value * 8 + (s[at] - u'0');
  }
  return static_cast<char16_t>(value);
}

std::optional<std::u16string> EvaluateStringLiteral(std::u16string_view body, char16_t quote) {
  std::u16string out;
  out.reserve(body.size());
  std::size_t i = 0;
  while (i < body.size()) {
    const char16_t c = body[i];
    if (c == quote || isLineTerminator(c)) return std::nullopt;
    if (c != u'\\') {
      out += c;
      ++i;
      continue;
    }
    if (++i == body.size()) return std::nullopt;
    const char16_t e = body[i];
    if (isLineTerminator(e)) return std::nullopt;
    if (IsOctalDigit(e)) {
      out += ReadOctalEscape(body, i);
      continue;
    }
    const std::size_t hexDigits = e == u'x' ? 2 : e == u'u' ? 4 : 0;
    if (hexDigits != 0) {
      const int value = ReadHexDigits(body, i + 1, hexDigits);
      if (value >= 0) {
        out += static_cast<char16_t>(value);
        i += 1 + hexDigits;
        continue;
      }
    }
    out += singleCharacterEscape(e);
    ++i;
  }
  return out;
}

}  // namespace quillmere
