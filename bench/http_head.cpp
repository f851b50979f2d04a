#include "http_head.h"

#include <charconv>

namespace quillmere {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kHeadEnd = "\r\n\r\n";

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<std::size_t> headLength(std::string_view message) {
  const std::size_t end = message.find(kHeadEnd);
  if (end == std::string_view::npos) return std::nullopt;
  return end + kHeadEnd.size();
}

std::optional<std::string_view> headerValue(std::string_view head, std::string_view name) {
  // The first line is the request or status line, never a header.
  std::size_t lineStart = head.find(kLineBreak);
  while (lineStart != std::string_view::npos) {
    lineStart += kLineBreak.size();
    const std::size_t lineEnd = head.find(kLineBreak, lineStart);
    const std::string_view line = head.substr(lineStart, lineEnd - lineStart);
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos &&
        equalIgnoringCase(trimBlanks(line.substr(0, colon)), name)) {
      return trimBlanks(line.substr(colon + 1));
    }
    lineStart = lineEnd;
  }
  return std::nullopt;
}

std::optional<std::size_t> contentLength(std::string_view head) {
  const std::optional<std::string_view> value = headerValue(head, "Content-Length");
  if (!value) return 0;
  std::size_t length = 0;
  const char* end = value->data() + value->size();
  const auto [stop, error] = std::from_chars(value->data(), end, length);
  if (value->empty() || error != std::errc() || stop != end) return std::nullopt;
  return length;
}

}  // namespace quillmere
