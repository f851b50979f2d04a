#include "script/json_object.h"

#include "platform/code_page.h"
#include "script/json_path.h"
#include "script/json_text.h"
#include "script/string_literal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillmere {

struct JsonObject::Document {
  JsonValue root = JsonValue::object();
};

namespace {

using Kind = ScriptValue::Kind;

constexpr int kTypeFailed = -1;
constexpr int kTypeNullish = 0;
constexpr int kTypeBoolean = 1;
constexpr int kTypeNumber = 2;
constexpr int kTypeObject = 4;
constexpr int kTypeArray = 5;
constexpr int kTypeString = 6;

constexpr std::string_view kObjectText = "[object Object]";

// Runs one operation on the document. Without a document, or when the work inside throws
// (memory running out on a huge text), the operation gives the empty result of its kind.
template <typename Result, typename Body>
Result withDocument(const std::shared_ptr<JsonObject::Document>& engine, Result fallback,
                    Body&& body) noexcept {
  if (!engine) return fallback;
  try {
    return body(engine->root);
  } catch (...) {
    return fallback;
  }
}

template <typename Body>
void withDocument(const std::shared_ptr<JsonObject::Document>& engine, Body&& body) noexcept {
  if (!engine) return;
  try {
    body(engine->root);
  } catch (...) {
  }
}

bool isAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The UTF-8 form of a code page 936 text; `storage` holds it unless the text is ASCII.
std::string_view utf8Of(std::string_view text, std::string& storage) {
  if (isAscii(text)) return text;
  storage = GbkToUtf8(text);
  return storage;
}

Text textOf(std::string_view utf8) {
  if (isAscii(utf8)) return Text(utf8);
  return EncodeCodePage(Utf16FromWtf8(utf8), kCodePageGbk);
}

ScriptValue evaluate(JsonValue& root, PathJoin join, std::string_view path,
                     std::optional<int> index = std::nullopt) {
  std::string storage;
  return EvaluatePath(root, join, utf8Of(path, storage), index);
}

void assign(JsonValue& root, PathJoin join, std::string_view path, std::optional<int> index,
            JsonValue value) {
  std::string storage;
  AssignPath(root, join, utf8Of(path, storage), index, std::move(value));
}

// The value of a single-quoted script string whose body is `value`; nothing when the literal
// does not compile.
std::optional<JsonValue> quotedValue(std::string_view value) {
  const auto units = EvaluateStringLiteral(DecodeCodePage(value, kCodePageGbk));
  if (!units) return std::nullopt;
  return JsonValue(Wtf8FromUtf16(*units));
}

std::optional<JsonValue> jsonValue(std::string_view text) {
  std::string storage;
  return ReadJsonText(utf8Of(text, storage));
}

// The value of "eval(" + text + ")", which is undefined when nothing stands between the
// parentheses.
std::optional<JsonValue> evalValue(std::string_view text) {
  std::string storage;
  const std::string_view utf8 = utf8Of(text, storage);
  if (IsJsonBlank(utf8)) return UndefinedValue();
  return ReadJsonText(utf8);
}

// A value inserted between quotes, or with `raw` as script source.
std::optional<JsonValue> scriptValue(std::string_view value, bool raw) {
  return raw ? jsonValue(value) : quotedValue(value);
}

bool isNullish(const ScriptValue& v) {
  return v.kind == Kind::Undefined || (v.kind == Kind::Node && v.node->is_null());
}

JsonValue::array_t* arrayOf(const ScriptValue& v) {
  return v.kind == Kind::Node ? v.node->get_ptr<JsonValue::array_t*>() : nullptr;
}

int typeCode(const ScriptValue& v) {
  switch (v.kind) {
    case Kind::Failed:
    case Kind::Function:
      return kTypeFailed;
    case Kind::Undefined:
      return kTypeNullish;
    case Kind::Number:
      return kTypeNumber;
    case Kind::Node:
      break;
  }
  const JsonValue& node = *v.node;
  if (node.is_boolean()) return kTypeBoolean;
  if (node.is_number()) return kTypeNumber;
  if (node.is_string()) return kTypeString;
  if (node.is_array()) return kTypeArray;
  if (node.is_object()) return kTypeObject;
  return kTypeNullish;
}

// The engine's string conversion of an array: its elements joined by ",", nested arrays
// joined in place, null and holes empty. Walks nested arrays without recursion.
std::string joinText(const JsonValue::array_t& elements) {
  std::string out;
  struct Frame {
    const JsonValue::array_t* elements;
    std::size_t next;
  };
  std::vector<Frame> stack{{&elements, 0}};
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next == frame.elements->size()) {
      stack.pop_back();
      continue;
    }
    if (frame.next > 0) out += ',';
    const JsonValue& element = (*frame.elements)[frame.next++];
    if (const auto* nested = element.get_ptr<const JsonValue::array_t*>()) {
      stack.push_back({nested, 0});
    } else if (const auto* s = element.get_ptr<const JsonValue::string_t*>()) {
      out += *s;
    } else if (element.is_number()) {
      out += EcmaNumberText(element.get<double>());
    } else if (element.is_boolean()) {
      out += element.get<bool>() ? "true" : "false";
    } else if (element.is_object()) {
      out += kObjectText;
    }
  }
  return out;
}

// A number as the automation bridge writes it: 15 significant digits, exponent form "1E+21".
Text bridgeNumberText(double x) {
  if (!std::isfinite(x)) return NumberToText(x);
  char buffer[32];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 15).ptr;
  Text text(buffer, end);
  std::replace(text.begin(), text.end(), 'e', 'E');
  return text;
}

// The value as the automation bridge turns it into text.
Text bridgeText(const ScriptValue& v) {
  switch (v.kind) {
    case Kind::Number:
      return bridgeNumberText(v.number);
    case Kind::Node:
      break;
    default:
      return {};
  }
  const JsonValue& node = *v.node;
  if (const auto* s = node.get_ptr<const JsonValue::string_t*>()) return textOf(*s);
  if (node.is_boolean()) return node.get<bool>() ? "-1" : "0";
  if (node.is_number()) return bridgeNumberText(node.get<double>());
  if (const auto* elements = node.get_ptr<const JsonValue::array_t*>()) {
    return textOf(joinText(*elements));
  }
  if (node.is_object()) return Text(kObjectText);
  return {};
}

// A text read as a decimal number, as the bridge converts a string to a number; 0 when it
// is not one.
double numberFromText(std::string_view s) {
  const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  std::size_t at = !s.empty() && s.front() == '-' ? 1 : 0;
  const auto digits = [&] {
    const std::size_t start = at;
    while (at < s.size() && s[at] >= '0' && s[at] <= '9') ++at;
    return at - start;
  };
  std::size_t mantissaDigits = digits();
  if (at < s.size() && s[at] == '.') {
    ++at;
    mantissaDigits += digits();
  }
  if (mantissaDigits == 0) return 0;
  if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
    ++at;
    if (at < s.size() && (s[at] == '+' || s[at] == '-')) ++at;
    if (digits() == 0) return 0;
  }
  return at == s.size() ? DecimalToDouble(s) : 0;
}

// The value as the automation bridge turns it into a number.
double bridgeNumber(const ScriptValue& v) {
  if (v.kind == Kind::Number) return v.number;
  if (v.kind != Kind::Node) return 0;
  const JsonValue& node = *v.node;
  if (node.is_number()) return node.get<double>();
  if (node.is_boolean()) return node.get<bool>() ? -1 : 0;
  if (const auto* s = node.get_ptr<const JsonValue::string_t*>()) return numberFromText(*s);
  if (const auto* elements = node.get_ptr<const JsonValue::array_t*>()) {
    return numberFromText(joinText(*elements));
  }
  return 0;
}

// The engine's JSON text of the value; empty for what has none (undefined, a method).
Text jsonTextOf(const ScriptValue& v) {
  if (v.kind == Kind::Number) return std::isfinite(v.number) ? EcmaNumberText(v.number) : "null";
  if (v.kind != Kind::Node) return {};
  const auto text = WriteJsonText(*v.node);
  return text ? textOf(*text) : Text{};
}

int ownCount(const ScriptValue& v) {
  if (v.kind != Kind::Node) return 0;
  if (const auto* members = v.node->get_ptr<const JsonValue::object_t*>()) {
    return static_cast<int>(members->size());
  }
  if (const auto* elements = arrayOf(v)) {
    return static_cast<int>(std::count_if(elements->begin(), elements->end(),
                                          [](const JsonValue& e) { return !IsUndefined(e); }));
  }
  return 0;
}

}  // namespace

JsonObject::JsonObject() : varName("da") { Init(); }

JsonObject::~JsonObject() = default;

JsonObject::JsonObject(const JsonObject& other) = default;

JsonObject& JsonObject::operator=(const JsonObject& other) = default;

void JsonObject::Init() {
  try {
    engine = std::make_shared<Document>();
  } catch (...) {
  }
}

bool JsonObject::Parse(std::string_view text) {
  engine.reset();
  Init();
  return withDocument(engine, false, [&](JsonValue& root) {
    root = nullptr;
    std::string storage;
    const std::string_view utf8 = utf8Of(text, storage);
    if (IsJsonBlank(utf8)) {
      root = UndefinedValue();
      return false;
    }
    auto value = ReadJsonText(utf8);
    if (!value) return false;
    root = std::move(*value);
    return !root.is_null();
  });
}

Text JsonObject::ToJson() const {
  return withDocument(engine, Text{}, [&](JsonValue& root) {
    return jsonTextOf(evaluate(root, PathJoin::Optional, {}));
  });
}

void JsonObject::SetMember(std::string_view key, std::string_view value, bool valueIsJson) {
  if (valueIsJson) {
    SetMemberJson(key, value.empty() ? std::string_view("{}") : value);
    return;
  }
  withDocument(engine, [&](JsonValue& root) {
    if (auto v = quotedValue(value)) assign(root, PathJoin::Dot, key, std::nullopt, std::move(*v));
  });
}

void JsonObject::SetMemberJson(std::string_view key, std::string_view json) {
  withDocument(engine, [&](JsonValue& root) {
    if (auto v = evalValue(json)) assign(root, PathJoin::Dot, key, std::nullopt, std::move(*v));
  });
}

void JsonObject::SetMemberNumber(std::string_view key, double number) {
  withDocument(engine, [&](JsonValue& root) {
    // The number travels as NumberToText's text, so it keeps 13 significant digits, and the
    // texts of infinities and NaN are no numbers at all.
    if (auto v = jsonValue(NumberToText(number))) {
      assign(root, PathJoin::Dot, key, std::nullopt, std::move(*v));
    }
  });
}

double JsonObject::GetNumber(std::string_view path) const {
  return withDocument(engine, 0.0, [&](JsonValue& root) {
    return bridgeNumber(evaluate(root, PathJoin::Dot, path));
  });
}

Text JsonObject::GetMemberJson(std::string_view path) const {
  return withDocument(engine, Text{}, [&](JsonValue& root) {
    return jsonTextOf(evaluate(root, PathJoin::Dot, path));
  });
}

Text JsonObject::GetText(std::string_view path, bool asJson) const {
  return withDocument(engine, Text{}, [&](JsonValue& root) {
    if (asJson) return jsonTextOf(evaluate(root, PathJoin::BracketAware, path));
    // The type is asked with the optional join, the number with the dot join and the text with
    // the bracket-aware join; for a path of names they are one expression, evaluated once.
    const bool oneExpression = !path.empty() && path[0] != '[';
    const ScriptValue typed = evaluate(root, PathJoin::Optional, path);
    if (typeCode(typed) == kTypeNumber) {
      return NumberToText(
          bridgeNumber(oneExpression ? typed : evaluate(root, PathJoin::Dot, path)));
    }
    return bridgeText(oneExpression ? typed : evaluate(root, PathJoin::BracketAware, path));
  });
}

JsonObject JsonObject::GetMemberObject(std::string_view path) const {
  JsonObject member;
  member.Parse(GetText(path, true));
  return member;
}

int JsonObject::Count(std::string_view path) const {
  return withDocument(engine, 0, [&](JsonValue& root) {
    return ownCount(
        evaluate(root, path.empty() ? PathJoin::Optional : PathJoin::BracketAware, path));
  });
}

void JsonObject::AppendElement(std::string_view value, std::string_view path, bool raw) {
  withDocument(engine, [&](JsonValue& root) {
    // A raw value of nothing but white space leaves "push()" without an argument, which is
    // still a valid statement.
    std::optional<JsonValue> element;
    if (!raw) {
      element = quotedValue(value);
      if (!element) return;
    } else if (!IsJsonBlank(value)) {
      element = jsonValue(value);
      if (!element) return;
    }
    std::string storage;
    const std::string_view target = utf8Of(path, storage);
    const ScriptValue before = EvaluatePath(root, PathJoin::Optional, target);
    if (before.kind == Kind::Failed) return;
    if (arrayOf(before) == nullptr) {
      AssignPath(root, PathJoin::Optional, target, std::nullopt, JsonValue::array());
    }
    // Looked up again: the assignment may have moved the value, or been dropped.
    auto* elements = arrayOf(EvaluatePath(root, PathJoin::Optional, target));
    if (elements != nullptr && element) elements->push_back(std::move(*element));
  });
}

JsonObject JsonObject::GetElementObject(int index, std::string_view path) const {
  JsonObject element;
  element.Parse(GetElementText(index, path, true));
  return element;
}

Text JsonObject::GetElementText(int index, std::string_view path, bool asJson) const {
  return withDocument(engine, Text{}, [&](JsonValue& root) {
    const ScriptValue element = evaluate(root, PathJoin::Optional, path, index);
    return asJson ? jsonTextOf(element) : bridgeText(element);
  });
}

void JsonObject::SetElement(int index, std::string_view value, bool raw) {
  withDocument(engine, [&](JsonValue& root) {
    if (auto v = scriptValue(value, raw))
      assign(root, PathJoin::Optional, {}, index, std::move(*v));
  });
}

void JsonObject::RemoveElement(int index) {
  withDocument(engine, [&](JsonValue& root) {
    auto* elements = root.get_ptr<JsonValue::array_t*>();
    if (elements == nullptr) return;
    // splice(index, 1): a negative index counts from the end.
    const auto size = static_cast<long long>(elements->size());
    const long long start =
        index < 0 ? std::max(size + index, 0LL) : std::min<long long>(index, size);
    if (start < size) elements->erase(elements->begin() + start);
  });
}

void JsonObject::RemoveMember(std::string_view key) {
  withDocument(engine, [&](JsonValue& root) {
    std::string storage;
    DeletePath(root, utf8Of(key, storage));
  });
}

void JsonObject::Reset(int typeCode) {
  withDocument(engine, [&](JsonValue& root) {
    if (typeCode == kTypeNullish || typeCode == kTypeObject) {
      root = JsonValue::object();
    } else if (typeCode == kTypeArray) {
      root = JsonValue::array();
    }
  });
}

void JsonObject::SetRoot(std::string_view value, bool raw) {
  withDocument(engine, [&](JsonValue& root) {
    if (auto v = scriptValue(value, raw)) root = std::move(*v);
  });
}

bool JsonObject::HasMember(std::string_view path) const {
  return withDocument(engine, false, [&](JsonValue& root) {
    const ScriptValue v = evaluate(root, PathJoin::Dot, path);
    return v.kind != Kind::Failed && !isNullish(v);
  });
}

int JsonObject::MemberNames(TextList& names, std::string_view path) const {
  names.clear();
  return withDocument(engine, 0, [&](JsonValue& root) {
    const ScriptValue v = evaluate(root, PathJoin::Optional, path);
    if (v.kind != Kind::Node) return 0;
    if (const auto* members = v.node->get_ptr<const JsonValue::object_t*>()) {
      for (const auto& member : *members) names.push_back(textOf(member.first));
    } else if (const auto* elements = arrayOf(v)) {
      for (std::size_t i = 0; i < elements->size(); ++i) {
        if (!IsUndefined((*elements)[i])) names.push_back(std::to_string(i));
      }
    }
    return static_cast<int>(names.size());
  });
}

int JsonObject::TypeOf(std::string_view path) const {
  return withDocument(engine, kTypeFailed, [&](JsonValue& root) {
    return typeCode(evaluate(root, PathJoin::Optional, path));
  });
}

void JsonObject::Clear() {
  withDocument(engine, [&](JsonValue& root) { root = JsonValue::object(); });
}

}  // namespace quillmere
