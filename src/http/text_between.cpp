#include "http/text_between.h"

namespace quillmere {
namespace {

// "#引号" in code page 936: 引 is D2 FD, 号 is BA C5.
constexpr std::string_view kQuoteMarker = "#\xD2\xFD\xBA\xC5";

}  // namespace

Text TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                 int startPos, bool ignoreCase) {
  const Text start = ReplaceText(startMarker, kQuoteMarker, "\"");
  const Text end = ReplaceText(endMarker, kQuoteMarker, "\"");
  int p = FindText(text, start, startPos, ignoreCase);
  if (p != -1) p += TextLength(start);
  const int q = FindText(text, end, p, ignoreCase);
  if (p == -1 || q == -1) return {};
  return TextMid(text, p, q - p);
}

}  // namespace quillmere
