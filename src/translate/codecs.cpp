#include "translate/codecs.h"

#include <algorithm>
#include <string>

namespace quillmere {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string_view untilNul(std::string_view text) { return text.substr(0, text.find('\0')); }

bool isUrlSafe(unsigned char b) {
  return b == '-' || b == '.' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
         (b >= 'a' && b <= 'z');
}

}  // namespace

Text UrlEncode(std::string_view text, bool keepSafe, bool asUtf8) {
  if (text.empty()) return {};
  const Text utf8 = asUtf8 ? AnsiToUtf8(text) : Text{};
  const std::string_view bytes = asUtf8 ? std::string_view(utf8) : text;
  // Written in place into room for the longest result, then cut to the length written: a
  // source pasted whole makes hundreds of kilobytes here on every keystroke.
  Text encoded(bytes.size() * 3, '\0');
  std::size_t at = 0;
  for (const unsigned char b : bytes) {
    if (keepSafe && isUrlSafe(b)) {
      encoded[at++] = static_cast<char>(b);
    } else {
      encoded[at++] = '%';
      encoded[at++] = kHexDigits[b >> 4];
      encoded[at++] = kHexDigits[b & 0xF];
    }
  }
  encoded.resize(at);
  return encoded;
}

Text AnsiToUtf8(std::string_view text) { return GbkToUtf8(untilNul(text)); }

Bytes AnsiToWide(std::string_view text, int codePage) {
  if (!IsSupportedCodePage(codePage)) return {};
  const std::u16string units = DecodeCodePage(untilNul(text), codePage);
  Bytes bytes((units.size() + 1) * 2, 0);
  for (std::size_t i = 0; i < units.size(); ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
  }
  return bytes;
}

Text WideToAnsi(const Bytes& units, int codePage) {
  std::u16string text;
  text.reserve(units.size() / 2);
  for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
    const auto unit = static_cast<char16_t>(units[i] | (units[i + 1] << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return EncodeCodePage(text, codePage);
}

Text Utf8BytesToAnsi(const Bytes& bytes) {
  // A 0 byte is always a character of its own in UTF-8, so converting only what precedes
  // it gives the text before the first NUL of the whole conversion.
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  const std::string_view utf8(reinterpret_cast<const char*>(bytes.data()),
                              static_cast<std::size_t>(end - bytes.begin()));
  return Utf8ToGbk(utf8);
}

}  // namespace quillmere
