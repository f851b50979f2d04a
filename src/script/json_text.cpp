#include "script/json_text.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillmere {
namespace {

bool isJsonSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// An object larger than this gets a hash index of its names while it is read, so that a text
// with many members stays linear to read; smaller ones are searched in place.
constexpr std::size_t kLinearNameSearch = 16;

// Reads a JSON text without recursion: open containers wait on an explicit stack.
class TextReader {
 public:
  TextReader(std::string_view text, int maxDepth) : text(text), maxDepth(maxDepth) {}

  std::optional<JsonValue> read() {
    skipSpace();
    JsonValue value;
    for (;;) {
      switch (readValueStart(value)) {
        case Start::Failed:
          return std::nullopt;
        case Start::Opened:
          continue;
        case Start::Complete:
          break;
      }
      // Hand the finished value to the containers it closes, up to one that takes more.
      for (;;) {
        if (stack.empty()) {
          skipSpace();
          if (at != text.size()) return std::nullopt;
          return value;
        }
        Frame& frame = stack.back();
        const bool isObject = frame.container.is_object();
        if (isObject) {
          addMember(frame, std::move(value));
        } else {
          frame.container.get_ptr<JsonValue::array_t*>()->push_back(std::move(value));
        }
        skipSpace();
        if (at == text.size()) return std::nullopt;
        const char c = text[at++];
        if (c == ',') {
          skipSpace();
          if (isObject && !readName(frame)) return std::nullopt;
          break;
        }
        if (c != (isObject ? '}' : ']')) return std::nullopt;
        value = std::move(frame.container);
        stack.pop_back();
      }
    }
  }

 private:
  enum class Start { Failed, Opened, Complete };

  struct Frame {
    JsonValue container;
    std::string name;  // of the member whose value comes next
    std::unique_ptr<std::unordered_map<std::string, std::size_t>> index;
  };

  void skipSpace() {
    while (at < text.size() && isJsonSpace(text[at])) ++at;
  }

  bool take(char c) {
    if (at < text.size() && text[at] == c) {
      ++at;
      return true;
    }
    return false;
  }

  bool takeWord(std::string_view word) {
    if (text.substr(at, word.size()) != word) return false;
    at += word.size();
    return true;
  }

  // Reads a scalar into `out`, or opens a container (complete at once when it is empty).
  Start readValueStart(JsonValue& out) {
    if (at == text.size()) return Start::Failed;
    const char c = text[at];
    if (c == '{' || c == '[') {
      if (stack.size() >= static_cast<std::size_t>(maxDepth)) return Start::Failed;
      ++at;
      stack.push_back(Frame{c == '{' ? JsonValue::object() : JsonValue::array(), {}, nullptr});
      skipSpace();
      if (take(c == '{' ? '}' : ']')) {
        out = std::move(stack.back().container);
        stack.pop_back();
        return Start::Complete;
      }
      if (c == '{' && !readName(stack.back())) return Start::Failed;
      return Start::Opened;
    }
    if (c == '"') {
      std::string s;
      if (!readString(s)) return Start::Failed;
      out = std::move(s);
      return Start::Complete;
    }
    if (c == '-' || isDigit(c)) return readNumber(out) ? Start::Complete : Start::Failed;
    if (takeWord("true")) {
      out = true;
    } else if (takeWord("false")) {
      out = false;
    } else if (takeWord("null")) {
      out = nullptr;
    } else {
      return Start::Failed;
    }
    return Start::Complete;
  }

  // A member name, the colon and the white space before its value.
  bool readName(Frame& frame) {
    if (at == text.size() || text[at] != '"' || !readString(frame.name)) return false;
    skipSpace();
    if (!take(':')) return false;
    skipSpace();
    return true;
  }

  void addMember(Frame& frame, JsonValue value) {
    auto& members = *frame.container.get_ptr<JsonValue::object_t*>();
    if (frame.index == nullptr && members.size() < kLinearNameSearch) {
      for (auto& member : members) {
        if (member.first == frame.name) {
          member.second = std::move(value);
          return;
        }
      }
      members.emplace_back(std::move(frame.name), std::move(value));
      return;
    }
    if (frame.index == nullptr) {
      frame.index = std::make_unique<std::unordered_map<std::string, std::size_t>>();
      for (std::size_t i = 0; i < members.size(); ++i) {
        frame.index->emplace((members.begin() + static_cast<std::ptrdiff_t>(i))->first, i);
      }
    }
    const auto [found, isNew] = frame.index->try_emplace(frame.name, members.size());
    if (isNew) {
      members.emplace_back(std::move(frame.name), std::move(value));
    } else {
      (members.begin() + static_cast<std::ptrdiff_t>(found->second))->second = std::move(value);
    }
  }

  bool readHex4(char32_t& unit) {
    if (text.size() - at < 4) return false;
    unit = 0;
    for (int i = 0; i < 4; ++i) {
      const int d = hexValue(text[at + i]);
      if (d < 0) return false;
      unit = unit * 16 + static_cast<char32_t>(d);
    }
    at += 4;
    return true;
  }

  // At the opening quote. A pair of surrogate escapes makes one character; a lone one stays.
  bool readString(std::string& out) {
    ++at;
    out.clear();
    for (;;) {
      const std::size_t runStart = at;
      while (at < text.size() && text[at] != '"' && text[at] != '\\' &&
             static_cast<unsigned char>(text[at]) >= 0x20) {
        ++at;
      }
      out.append(text, runStart, at - runStart);
      if (at == text.size() || static_cast<unsigned char>(text[at]) < 0x20) return false;
      if (text[at++] == '"') return true;
      if (at == text.size()) return false;
      const char e = text[at++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          char32_t unit = 0;
          if (!readHex4(unit)) return false;
          const std::size_t afterFirst = at;
          char32_t low = 0;
          if (isHighSurrogate(unit) && take('\\') && take('u') && readHex4(low) &&
              isLowSurrogate(low)) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
          } else {
            at = afterFirst;
          }
          AppendWtf8(out, unit);
          break;
        }
        default:
          return false;
      }
    }
  }

  bool readDigits() {
    const std::size_t start = at;
    while (at < text.size() && isDigit(text[at])) ++at;
    return at > start;
  }

  bool readNumber(JsonValue& out) {
    const std::size_t start = at;
    take('-');
    if (!take('0') && !readDigits()) return false;
    if (take('.') && !readDigits()) return false;
    if (take('e') || take('E')) {
      if (!take('+')) take('-');
      if (!readDigits()) return false;
    }
    out = DecimalToDouble(text.substr(start, at - start));
    return true;
  }

  std::string_view text;
  int maxDepth;
  std::size_t at = 0;
  std::vector<Frame> stack;
};

// Characters the engine's stringify writes as \u escapes besides the C0 controls.
bool needsUnicodeEscape(char32_t c) {
  return (c >= 0x7F && c <= 0x9F) || c == 0xAD || (c >= 0x600 && c <= 0x604) || c == 0x70F ||
         c == 0x17B4 || c == 0x17B5 || (c >= 0x200C && c <= 0x200F) ||
         (c >= 0x2028 && c <= 0x202F) || (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF ||
         (c >= 0xFFF0 && c <= 0xFFFF);
}

void appendUnicodeEscape(std::string& out, char32_t c) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(c >> shift) & 0xF];
}

void appendQuoted(std::string& out, std::string_view s) {
  out += '"';
  std::size_t i = 0;
  while (i < s.size()) {
    const auto byte = static_cast<unsigned char>(s[i]);
    if (byte >= 0x80) {
      const std::size_t start = i;
      const char32_t c = DecodeWtf8(s, i);
      if (needsUnicodeEscape(c)) {
        appendUnicodeEscape(out, c);
      } else {
        out.append(s, start, i - start);
      }
      continue;
    }
    ++i;
    switch (byte) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          appendUnicodeEscape(out, byte);
        } else {
          out += static_cast<char>(byte);
        }
    }
  }
  out += '"';
}

void appendScalar(std::string& out, const JsonValue& value) {
  if (value.is_string()) {
    appendQuoted(out, *value.get_ptr<const JsonValue::string_t*>());
  } else if (value.is_number()) {
    const double x = value.get<double>();
    out += std::isfinite(x) ? EcmaNumberText(x) : "null";
  } else if (value.is_boolean()) {
    out += value.get<bool>() ? "true" : "false";
  } else {
    out += "null";  // null, and undefined where it stands as an array element
  }
}

// Writes the container's opening bracket, or the whole value when it is not a container.
// Returns whether the value was a container that now waits to be filled.
bool openValue(std::string& out, const JsonValue& value) {
  if (value.is_object()) {
    out += '{';
    return true;
  }
  if (value.is_array()) {
    out += '[';
    return true;
  }
  appendScalar(out, value);
  return false;
}

}  // namespace

JsonValue UndefinedValue() { return JsonValue(JsonValue::value_t::discarded); }

bool IsUndefined(const JsonValue& value) { return value.is_discarded(); }

bool IsJsonBlank(std::string_view text) {
  for (const char c : text) {
    if (!isJsonSpace(c)) return false;
  }
  return true;
}

std::optional<JsonValue> ReadJsonText(std::string_view utf8, int maxDepth) {
  return TextReader(utf8, maxDepth).read();
}

std::optional<std::string> WriteJsonText(const JsonValue& value) {
  if (IsUndefined(value)) return std::nullopt;
  std::string out;
  struct Frame {
    const JsonValue* container;
    std::size_t next;  // position of the next member or element
    bool wroteAny;
  };
  std::vector<Frame> stack;
  if (openValue(out, value)) stack.push_back({&value, 0, false});
  while (!stack.empty()) {
    Frame& frame = stack.back();
    const JsonValue* child = nullptr;
    if (const auto* array = frame.container->get_ptr<const JsonValue::array_t*>()) {
      if (frame.next == array->size()) {
        out += ']';
        stack.pop_back();
        continue;
      }
      if (frame.wroteAny) out += ',';
      child = &(*array)[frame.next++];
    } else {
      const auto& members = *frame.container->get_ptr<const JsonValue::object_t*>();
      auto member = members.begin() + static_cast<std::ptrdiff_t>(frame.next);
      while (member != members.end() && IsUndefined(member->second)) ++member;
      if (member == members.end()) {
        out += '}';
        stack.pop_back();
        continue;
      }
      frame.next = static_cast<std::size_t>(member - members.begin()) + 1;
      if (frame.wroteAny) out += ',';
      appendQuoted(out, member->first);
      out += ':';
      child = &member->second;
    }
    frame.wroteAny = true;
    // `frame` may move with the stack from here on.
    if (openValue(out, *child)) stack.push_back({child, 0, false});
  }
  return out;
}

std::string EcmaNumberText(double x) {
  if (std::isnan(x)) return "NaN";
  if (x == 0) return "0";
  std::string out;
  if (x < 0) {
    out += '-';
    x = -x;
  }
  if (std::isinf(x)) return out + "Infinity";
  char buffer[32];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific).ptr;
  // buffer holds the shortest digits as d[.ddd]e±x
  std::string digits;
  const char* p = buffer;
  for (; *p != 'e'; ++p) {
    if (*p != '.') digits += *p;
  }
  int exponent = 0;
  std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
  const int k = static_cast<int>(digits.size());
  const int n = exponent + 1;  // the decimal point sits after the first n digits
  if (k <= n && n <= 21) {
    out += digits;
    out.append(static_cast<std::size_t>(n - k), '0');
  } else if (0 < n && n <= 21) {
    out.append(digits, 0, static_cast<std::size_t>(n));
    out += '.';
    out.append(digits, static_cast<std::size_t>(n));
  } else if (-6 < n && n <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-n), '0');
    out += digits;
  } else {
    out += digits[0];
    if (k > 1) {
      out += '.';
      out.append(digits, 1);
    }
    out += n - 1 < 0 ? "e-" : "e+";
    out += std::to_string(std::abs(n - 1));
  }
  return out;
}

double DecimalToDouble(std::string_view decimal) {
  double value = 0;
  const auto [end, error] = std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
  if (error != std::errc::result_out_of_range) return value;
  // Beyond the range of doubles: the power of ten of the first significant digit decides
  // between overflow and underflow.
  const bool negative = !decimal.empty() && decimal[0] == '-';
  long long magnitude = 0;
  bool seenSignificant = false;
  bool afterPoint = false;
  std::size_t i = negative ? 1 : 0;
  for (; i < decimal.size() && decimal[i] != 'e' && decimal[i] != 'E'; ++i) {
    if (decimal[i] == '.') {
      afterPoint = true;
    } else if (decimal[i] != '0' || seenSignificant) {
      seenSignificant = true;
      if (!afterPoint) ++magnitude;
    } else if (afterPoint) {
      --magnitude;
    }
  }
  long long exponent = 0;
  if (i < decimal.size()) {
    ++i;
    const bool negativeExponent = i < decimal.size() && decimal[i] == '-';
    if (i < decimal.size() && (decimal[i] == '-' || decimal[i] == '+')) ++i;
    for (; i < decimal.size() && exponent < 100000; ++i)
      exponent = exponent * 10 + (decimal[i] - '0');
    if (negativeExponent) exponent = -exponent;
  }
  const double huge = magnitude + exponent > 0 ? HUGE_VAL : 0.0;
  return negative ? -huge : huge;
}

char32_t DecodeWtf8(std::string_view s, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(s[at]);
  std::size_t length = 0;
  char32_t c = 0;
  if (lead < 0x80) {
    ++at;
    return lead;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
  } else {
    ++at;
    return 0xFFFD;
  }
  if (s.size() - at < length) {
    ++at;
    return 0xFFFD;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto trail = static_cast<unsigned char>(s[at + i]);
    if ((trail & 0xC0) != 0x80) {
      ++at;
      return 0xFFFD;
    }
    c = (c << 6) | (trail & 0x3F);
  }
  at += length;
  return c;
}

void AppendWtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::u16string Utf16FromWtf8(std::string_view s) {
  std::u16string units;
  units.reserve(s.size());
  std::size_t at = 0;
  while (at < s.size()) {
    const char32_t c = DecodeWtf8(s, at);
    if (c >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(c);
    }
  }
  return units;
}

std::string Wtf8FromUtf16(std::u16string_view units) {
  std::string out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (isHighSurrogate(c) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    }
    AppendWtf8(out, c);
  }
  return out;
}

std::size_t Utf16Length(std::string_view s) {
  std::size_t length = 0;
  for (const char c : s) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) length += byte >= 0xF0 ? 2 : 1;
  }
  return length;
}

}  // namespace quillmere
