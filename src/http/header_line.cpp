#include "http/header_line.h"

namespace quillmere {

Text HeaderName(std::string_view line) {
  const int p = FindText(line, ":");
  return p == -1 ? Text{} : TrimBoth(TextLeft(line, p - 1));
}

Text HeaderValue(std::string_view line) {
  const int p = FindText(line, ":");
  return p == -1 ? Text{} : TrimBoth(TextMid(line, p + 1, TextLength(line) - p));
}

}  // namespace quillmere
