#include "script/json_path.h"

#include "script/string_literal.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

namespace quillmere {
namespace {

// Words the engine refuses as names after a dot, sorted.
constexpr std::string_view kReservedWords[] = {
    "break",  "case",     "catch",  "class",  "const",  "continue",   "debugger", "default",
    "delete", "do",       "else",   "enum",   "export", "extends",    "false",    "finally",
    "for",    "function", "if",     "import", "in",     "instanceof", "new",      "null",
    "return", "super",    "switch", "this",   "throw",  "true",       "try",      "typeof",
    "var",    "void",     "while",  "with"};
static_assert(std::is_sorted(std::begin(kReservedWords), std::end(kReservedWords)));

bool isReservedWord(std::string_view name) {
  // All of them are 2 to 10 lower-case letters; most names fail that test at once.
  if (name.size() < 2 || name.size() > 10) return false;
  if (!std::all_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; })) {
    return false;
  }
  return std::binary_search(std::begin(kReservedWords), std::end(kReservedWords), name);
}

// Methods a value finds on its prototypes, the engine script's additions included.
constexpr std::string_view kObjectMethods[] = {
    "constructor",    "hasOwnProperty", "isPrototypeOf", "propertyIsEnumerable",
    "toLocaleString", "toString",       "valueOf",       "toJSONString",
    "parseJSON"};
constexpr std::string_view kArrayMethods[] = {"concat", "join",  "pop",  "push",   "reverse",
                                              "shift",  "slice", "sort", "splice", "unshift"};
constexpr std::string_view kStringMethods[] = {"charAt",
                                               "charCodeAt",
                                               "concat",
                                               "indexOf",
                                               "lastIndexOf",
                                               "localeCompare",
                                               "match",
                                               "replace",
                                               "search",
                                               "slice",
                                               "split",
                                               "substr",
                                               "substring",
                                               "toLowerCase",
                                               "toLocaleLowerCase",
                                               "toUpperCase",
                                               "toLocaleUpperCase",
                                               "toJSON"};
constexpr std::string_view kNumberMethods[] = {"toExponential", "toFixed", "toPrecision", "toJSON"};
constexpr std::string_view kBooleanMethods[] = {"toJSON"};
constexpr std::string_view kFunctionMethods[] = {"apply", "call"};

// Array indexes run below 2^32 - 1.
constexpr double kIndexLimit = 4294967295.0;
// An assignment may not open more holes than this in one array: the engine keeps holes for
// nothing, a dense array pays for each.
constexpr std::size_t kMaxHoleRun = std::size_t{1} << 20;

template <std::size_t N>
bool contains(const std::string_view (&words)[N], std::string_view word) {
  return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

bool isAsciiIdentifierStart(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '$' || c == '_';
}

bool isIdentifierStart(char32_t c) {
  if (c < 0x80) return isAsciiIdentifierStart(c);
  switch (u_charType(static_cast<UChar32>(c))) {
    case U_UPPERCASE_LETTER:
    case U_LOWERCASE_LETTER:
    case U_TITLECASE_LETTER:
    case U_MODIFIER_LETTER:
    case U_OTHER_LETTER:
    case U_LETTER_NUMBER:
      return true;
    default:
      return false;
  }
}

bool isIdentifierPart(char32_t c) {
  if (c < 0x80) return isAsciiIdentifierStart(c) || (c >= '0' && c <= '9');
  if (isIdentifierStart(c)) return true;
  switch (u_charType(static_cast<UChar32>(c))) {
    case U_NON_SPACING_MARK:
    case U_COMBINING_SPACING_MARK:
    case U_DECIMAL_DIGIT_NUMBER:
    case U_CONNECTOR_PUNCTUATION:
      return true;
    default:
      return false;
  }
}

// White space and line terminators, which the engine skips between tokens.
bool isScriptSpace(char32_t c) {
  if (c < 0x80) return c == ' ' || (c >= '\t' && c <= '\r');
  return c == 0xA0 || c == 0xFEFF || c == 0x2028 || c == 0x2029 ||
         u_charType(static_cast<UChar32>(c)) == U_SPACE_SEPARATOR;
}

// One step of member access: `.name`, `["name"]` or `[number]`.
struct Accessor {
  bool isIndex = false;
  double index = 0;
  std::string_view written;  // the name as the path writes it
  std::string decoded;       // the name, when its quoted form holds escapes
  bool isDecoded = false;

  std::string_view name() const { return isDecoded ? std::string_view(decoded) : written; }

  void setName(std::string_view text) {
    isIndex = false;
    isDecoded = false;
    written = text;
  }
  void setIndex(double value) {
    isIndex = true;
    index = value;
  }
};

// Reads the accessors of a joined path one by one, failing at the first syntax error.
class PathReader {
 public:
  PathReader(PathJoin join, std::string_view path, std::optional<int> index)
      : text(path), trailingIndex(index) {
    const bool bare = (join == PathJoin::BracketAware && !path.empty() && path[0] == '[') ||
                      (join == PathJoin::Optional && path.empty());
    state = bare ? State::Accessors : State::NeedName;
  }

  // The next accessor, or false at the end of the path and at a syntax error.
  bool next(Accessor& out) {
    switch (state) {
      case State::NeedName:
        state = State::Accessors;
        return readName(out) || fail();
      case State::Accessors:
        skipSpace();
        if (at == text.size()) {
          state = State::Done;
          if (!trailingIndex) return false;
          out.setIndex(*trailingIndex);
          return true;
        }
        if (text[at] == '.') {
          ++at;
          return readName(out) || fail();
        }
        if (text[at] == '[') {
          ++at;
          return readSubscript(out) || fail();
        }
        return fail();
      case State::Done:
      case State::Failed:
        break;
    }
    return false;
  }

  bool failed() const { return state == State::Failed; }

 private:
  enum class State { NeedName, Accessors, Done, Failed };

  bool fail() {
    state = State::Failed;
    return false;
  }

  // The character at the reading position, and in `end` the position after it.
  char32_t peek(std::size_t& end) const {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      end = at + 1;
      return byte;
    }
    end = at;
    return DecodeWtf8(text, end);
  }

  void skipSpace() {
    std::size_t end = 0;
    while (at < text.size() && isScriptSpace(peek(end))) at = end;
  }

  bool readName(Accessor& out) {
    skipSpace();
    std::size_t end = 0;
    if (at == text.size() || !isIdentifierStart(peek(end))) return false;
    const std::size_t start = at;
    at = end;
    while (at < text.size() && isIdentifierPart(peek(end))) at = end;
    const std::string_view name = text.substr(start, at - start);
    if (isReservedWord(name)) return false;
    out.setName(name);
    return true;
  }

  bool readSubscript(Accessor& out) {
    skipSpace();
    if (at == text.size()) return false;
    const char c = text[at];
    const bool read = c == '\'' || c == '"' ? readQuoted(out) : readInteger(out);
    if (!read) return false;
    skipSpace();
    return at < text.size() && text[at++] == ']';
  }

  // A decimal integer literal, with an optional minus sign before it.
  bool readInteger(Accessor& out) {
    const bool negative = at < text.size() && text[at] == '-';
    if (negative) {
      ++at;
      skipSpace();
    }
    const std::size_t start = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
    const std::string_view digits = text.substr(start, at - start);
    if (digits.empty() || (digits.size() > 1 && digits[0] == '0')) return false;
    double value = 0;
    if (digits.size() <= 15) {
      std::uint64_t exact = 0;
      for (const char d : digits) exact = exact * 10 + static_cast<std::uint64_t>(d - '0');
      value = static_cast<double>(exact);
    } else {
      value = DecimalToDouble(digits);
    }
    out.setIndex(negative ? -value : value);
    return true;
  }

  // A quoted name, its escapes resolved as in any script string literal.
  bool readQuoted(Accessor& out) {
    const char quote = text[at++];
    const std::size_t start = at;
    bool plain = true;
    while (at < text.size() && text[at] != quote) {
      const char c = text[at];
      if (c == '\n' || c == '\r') return false;
      if (c == '\\' || static_cast<unsigned char>(c) == 0xE2) plain = false;  // 0xE2: U+2028/9
      at += c == '\\' ? 2 : 1;
    }
    if (at >= text.size()) return false;
    const std::string_view body = text.substr(start, at - start);
    ++at;
    if (plain) {
      out.setName(body);
      return true;
    }
    const auto units = EvaluateStringLiteral(Utf16FromWtf8(body), static_cast<char16_t>(quote));
    if (!units) return false;
    out.setName({});
    out.decoded = Wtf8FromUtf16(*units);
    out.isDecoded = true;
    return true;
  }

  std::string_view text;
  std::optional<int> trailingIndex;
  std::size_t at = 0;
  State state = State::NeedName;
};

bool isValidSyntax(PathJoin join, std::string_view path, std::optional<int> index) {
  PathReader reader(join, path, index);
  Accessor accessor;
  while (reader.next(accessor)) {
  }
  return !reader.failed();
}

ScriptValue failed() { return {}; }
ScriptValue undefinedValue() { return {ScriptValue::Kind::Undefined}; }
ScriptValue numberValue(double x) { return {ScriptValue::Kind::Number, nullptr, x}; }

ScriptValue fromNode(JsonValue& node) {
  if (IsUndefined(node)) return undefinedValue();
  return {ScriptValue::Kind::Node, &node};
}

// A method found on the prototypes of a value, or undefined.
template <std::size_t N>
ScriptValue inherited(const std::string_view (&methods)[N], const Accessor& accessor) {
  if (accessor.isIndex) return undefinedValue();
  const std::string_view name = accessor.name();
  if (contains(methods, name) || contains(kObjectMethods, name)) {
    return {ScriptValue::Kind::Function};
  }
  return undefinedValue();
}

// The property name a subscript stands for: the engine's text of the number.
std::string keyOf(const Accessor& accessor) {
  return accessor.isIndex ? EcmaNumberText(accessor.index) : std::string(accessor.name());
}

std::optional<std::size_t> arrayIndexOf(const Accessor& accessor) {
  if (accessor.isIndex) {
    const double x = accessor.index;
    if (x >= 0 && x < kIndexLimit && x == std::floor(x)) return static_cast<std::size_t>(x);
    return std::nullopt;
  }
  const std::string_view name = accessor.name();
  if (name.empty() || name.size() > 10 || (name.size() > 1 && name[0] == '0')) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : name) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (static_cast<double>(value) >= kIndexLimit) return std::nullopt;
  return static_cast<std::size_t>(value);
}

JsonValue::object_t::iterator findMember(JsonValue::object_t& members, std::string_view key) {
  return std::find_if(members.begin(), members.end(),
                      [key](const auto& member) { return member.first == key; });
}

JsonValue::object_t::iterator findMember(JsonValue::object_t& members, const Accessor& accessor) {
  if (!accessor.isIndex) return findMember(members, accessor.name());
  return findMember(members, EcmaNumberText(accessor.index));
}

ScriptValue memberOfNode(JsonValue& node, const Accessor& accessor) {
  if (auto* members = node.get_ptr<JsonValue::object_t*>()) {
    const auto found = findMember(*members, accessor);
    if (found != members->end()) return fromNode(found->second);
    return inherited(kObjectMethods, accessor);
  }
  if (auto* elements = node.get_ptr<JsonValue::array_t*>()) {
    if (const auto index = arrayIndexOf(accessor)) {
      return *index < elements->size() ? fromNode((*elements)[*index]) : undefinedValue();
    }
    if (!accessor.isIndex && accessor.name() == "length") {
      return numberValue(static_cast<double>(elements->size()));
    }
    return inherited(kArrayMethods, accessor);
  }
  if (const auto* s = node.get_ptr<const JsonValue::string_t*>()) {
    if (!accessor.isIndex && accessor.name() == "length") {
      return numberValue(static_cast<double>(Utf16Length(*s)));
    }
    return inherited(kStringMethods, accessor);
  }
  if (node.is_number()) return inherited(kNumberMethods, accessor);
  if (node.is_boolean()) return inherited(kBooleanMethods, accessor);
  return failed();  // a member of null
}

ScriptValue memberOf(const ScriptValue& base, const Accessor& accessor) {
  switch (base.kind) {
    case ScriptValue::Kind::Node:
      return memberOfNode(*base.node, accessor);
    case ScriptValue::Kind::Function:
      return inherited(kFunctionMethods, accessor);
    case ScriptValue::Kind::Number:
      return inherited(kNumberMethods, accessor);
    case ScriptValue::Kind::Undefined:
    case ScriptValue::Kind::Failed:
      break;
  }
  return failed();
}

bool growTo(JsonValue::array_t& elements, std::size_t size) {
  if (size > elements.size() && size - elements.size() > kMaxHoleRun) return false;
  elements.resize(size, UndefinedValue());
  return true;
}

bool setLength(JsonValue::array_t& elements, const JsonValue& value) {
  if (!value.is_number()) return false;
  const double x = value.get<double>();
  if (!(x >= 0 && x <= kIndexLimit && x == std::floor(x))) return false;  // a range error
  const auto size = static_cast<std::size_t>(x);
  if (size <= elements.size()) {
    elements.erase(elements.begin() + static_cast<std::ptrdiff_t>(size), elements.end());
    return true;
  }
  return growTo(elements, size);
}

bool setMember(const ScriptValue& base, const Accessor& accessor, JsonValue value) {
  if (base.kind == ScriptValue::Kind::Failed || base.kind == ScriptValue::Kind::Undefined) {
    return false;
  }
  if (base.kind != ScriptValue::Kind::Node) return true;  // dropped with the temporary object
  JsonValue& node = *base.node;
  if (auto* members = node.get_ptr<JsonValue::object_t*>()) {
    const auto found = findMember(*members, accessor);
    if (found != members->end()) {
      found->second = std::move(value);
    } else {
      members->emplace_back(keyOf(accessor), std::move(value));
    }
    return true;
  }
  if (auto* elements = node.get_ptr<JsonValue::array_t*>()) {
    if (const auto index = arrayIndexOf(accessor)) {
      if (*index >= elements->size() && !growTo(*elements, *index + 1)) return false;
      (*elements)[*index] = std::move(value);
      return true;
    }
    if (!accessor.isIndex && accessor.name() == "length") return setLength(*elements, value);
    return false;  // a named property of an array, which the document cannot hold
  }
  return !node.is_null();  // a member of a string, number or boolean is dropped
}

void deleteMember(const ScriptValue& base, const Accessor& accessor) {
  if (base.kind != ScriptValue::Kind::Node) return;
  JsonValue& node = *base.node;
  if (auto* members = node.get_ptr<JsonValue::object_t*>()) {
    const auto found = findMember(*members, accessor);
    if (found != members->end()) members->erase(found);
  } else if (auto* elements = node.get_ptr<JsonValue::array_t*>()) {
    const auto index = arrayIndexOf(accessor);
    if (index && *index < elements->size()) (*elements)[*index] = UndefinedValue();
  }
}

}  // namespace

ScriptValue EvaluatePath(JsonValue& root, PathJoin join, std::string_view path,
                         std::optional<int> index) {
  PathReader reader(join, path, index);
  ScriptValue value = fromNode(root);
  Accessor accessor;
  while (reader.next(accessor)) {
    value = memberOf(value, accessor);
    if (value.kind == ScriptValue::Kind::Failed) return value;
  }
  return reader.failed() ? failed() : value;
}

bool AssignPath(JsonValue& root, PathJoin join, std::string_view path, std::optional<int> index,
                JsonValue value) {
  if (!isValidSyntax(join, path, index)) return false;
  PathReader reader(join, path, index);
  Accessor last;
  if (!reader.next(last)) {
    root = std::move(value);
    return true;
  }
  ScriptValue base = fromNode(root);
  Accessor next;
  while (reader.next(next)) {
    base = memberOf(base, last);
    if (base.kind == ScriptValue::Kind::Failed) return false;
    std::swap(last, next);
  }
  return setMember(base, last, std::move(value));
}

void DeletePath(JsonValue& root, std::string_view path) {
  if (!isValidSyntax(PathJoin::Dot, path, std::nullopt)) return;
  PathReader reader(PathJoin::Dot, path, std::nullopt);
  Accessor last;
  if (!reader.next(last)) return;
  ScriptValue base = fromNode(root);
  Accessor next;
  while (reader.next(next)) {
    base = memberOf(base, last);
    if (base.kind == ScriptValue::Kind::Failed) return;
    std::swap(last, next);
  }
  deleteMember(base, last);
}

}  // namespace quillmere
