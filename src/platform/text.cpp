#include "platform/text.h"

#include <algorithm>
#include <charconv>

namespace quillmere {
namespace {

constexpr unsigned char kBlank = 0x20;
constexpr unsigned char kFullWidthBlankByte = 0xA1;

bool isLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Width of the unit that begins at `i`: 2 for a lead byte with a byte after it, else 1.
std::size_t unitWidth(std::string_view t, std::size_t i) {
  return isLeadByte(t[i]) && i + 1 < t.size() ? 2 : 1;
}

bool isBlankAt(std::string_view t, std::size_t i) {
  if (static_cast<unsigned char>(t[i]) == kBlank) return true;
  return i + 1 < t.size() && static_cast<unsigned char>(t[i]) == kFullWidthBlankByte &&
         static_cast<unsigned char>(t[i + 1]) == kFullWidthBlankByte;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Compares `sub` with the bytes of `t` at `at`; without case only for single-byte units of `sub`.
bool matchesAt(std::string_view t, std::size_t at, std::string_view sub, bool ignoreCase) {
  if (t.size() - at < sub.size()) return false;
  if (!ignoreCase) return t.compare(at, sub.size(), sub) == 0;
  for (std::size_t j = 0; j < sub.size(); j += unitWidth(sub, j)) {
    if (unitWidth(sub, j) == 2) {
      if (t[at + j] != sub[j] || t[at + j + 1] != sub[j + 1]) return false;
    } else if (asciiLower(t[at + j]) != asciiLower(sub[j])) {
      return false;
    }
  }
  return true;
}

// Index of the first match at or after index `from`, walking by units; npos if none.
std::size_t findFrom(std::string_view t, std::string_view sub, std::size_t from, bool ignoreCase) {
  if (from >= t.size()) return std::string_view::npos;
  if (!ignoreCase) {
    // The byte search finds each candidate; the walk by units, which only ever moves forward,
    // tells whether it starts a unit or lies on the trail byte of a double-byte character.
    std::size_t unit = from;
    for (std::size_t at = t.find(sub, from); at != std::string_view::npos; at = t.find(sub, unit)) {
      while (unit < at) unit += unitWidth(t, unit);
      if (unit == at) return at;
    }
    return std::string_view::npos;
  }
  for (std::size_t i = from; i < t.size(); i += unitWidth(t, i)) {
    if (matchesAt(t, i, sub, ignoreCase)) return i;
  }
  return std::string_view::npos;
}

template <char (*Change)(char)>
Text& changeCase(Text& t) {
  for (std::size_t i = 0; i < t.size(); i += unitWidth(t, i)) t[i] = Change(t[i]);
  return t;
}

}  // namespace

int TextLength(std::string_view t) { return static_cast<int>(t.size()); }

Text TextLeft(std::string_view t, int n) {
  if (n <= 0) return {};
  return Text(t.substr(0, static_cast<std::size_t>(n)));
}

Text TextRight(std::string_view t, int n) {
  if (n <= 0) return {};
  const auto k = std::min(t.size(), static_cast<std::size_t>(n));
  return Text(t.substr(t.size() - k));
}

Text TextMid(std::string_view t, int start, int n) {
  if (start < 1 || static_cast<std::size_t>(start) > t.size() || n <= 0) return {};
  return Text(t.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(n)));
}

int FindText(std::string_view t, std::string_view sub, int start, bool ignoreCase) {
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (from >= t.size()) return -1;
  if (sub.empty()) return 1;
  const auto at = findFrom(t, sub, from, ignoreCase);
  return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

Text ReplaceText(std::string_view t, std::string_view find, std::string_view repl, int start,
                 int count, bool caseSensitive) {
  if (find.empty()) return Text(t);
  const std::size_t from = start < 1 ? 0 : std::min(t.size(), static_cast<std::size_t>(start) - 1);
  Text out(t.substr(0, from));
  out.reserve(t.size());
  std::size_t i = from;
  while (i < t.size()) {
    if (count != 0 && matchesAt(t, i, find, !caseSensitive)) {
      out += repl;
      i += find.size();
      if (count > 0) --count;
    } else {
      const auto w = unitWidth(t, i);
      out += t.substr(i, w);
      i += w;
    }
  }
  return out;
}

TextList SplitText(std::string_view t, std::string_view delim) {
  TextList pieces;
  if (t.empty()) return pieces;
  if (delim.empty()) return {Text(t)};
  std::size_t begin = 0;
  for (auto at = findFrom(t, delim, 0, false); at != std::string_view::npos;
       at = findFrom(t, delim, begin, false)) {
    pieces.emplace_back(t.substr(begin, at - begin));
    begin = at + delim.size();
  }
  if (begin < t.size()) pieces.emplace_back(t.substr(begin));
  return pieces;
}

Text TrimBoth(std::string_view t) {
  std::size_t first = 0;
  while (first < t.size() && isBlankAt(t, first)) first += unitWidth(t, first);
  std::size_t end = first;
  for (std::size_t i = first; i < t.size(); i += unitWidth(t, i)) {
    if (!isBlankAt(t, i)) end = i + unitWidth(t, i);
  }
  return Text(t.substr(first, end - first));
}

Text RemoveSpaces(std::string_view t) {
  Text out;
  out.reserve(t.size());
  for (std::size_t i = 0; i < t.size(); i += unitWidth(t, i)) {
    if (!isBlankAt(t, i)) out += t.substr(i, unitWidth(t, i));
  }
  return out;
}

Text& CharUpper(Text& t) { return changeCase<asciiUpper>(t); }
Text& CharLower(Text& t) { return changeCase<asciiLower>(t); }

Text UpperCase(std::string_view t) {
  Text out(t);
  return CharUpper(out);
}

Text LowerCase(std::string_view t) {
  Text out(t);
  return CharLower(out);
}

int CompareText(std::string_view a, std::string_view b) {
  const int c = a.compare(b);  // char_traits<char> compares as unsigned char
  return (c > 0) - (c < 0);
}

Bytes TextToBytes(std::string_view t) { return Bytes(t.begin(), t.end()); }

Text BytesToText(const Bytes& b) {
  const auto end = std::find(b.begin(), b.end(), std::uint8_t{0});
  return Text(b.begin(), end);
}

Bytes BlankBytes(int n) { return n <= 0 ? Bytes{} : Bytes(static_cast<std::size_t>(n), 0); }

Text BlankText(int n) { return n < 1 ? Text{} : Text(static_cast<std::size_t>(n), ' '); }

Text HexText(std::uint64_t n) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  Text out;
  do {
    out.insert(out.begin(), kDigits[n & 0xF]);
    n >>= 4;
  } while (n != 0);
  return out;
}

Text NumberToText(long long n) { return std::to_string(n); }

Text NumberToText(int n) { return std::to_string(n); }

// "%.13g" without the locale: a window's locale may use a decimal comma.
Text NumberToText(double x) {
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 13);
  return Text(buffer, result.ptr);
}

}  // namespace quillmere
