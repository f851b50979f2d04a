#pragma once

#include "platform/text.h"

#include <memory>
#include <string_view>

namespace quillmere {

// A JSON document read and edited through member-access paths such as "trans_result[0].dst",
// giving the results a JavaScript engine gives when it holds the document in a variable and
// evaluates each operation as script. The document is native: input is parsed, never run.
//
// Paths follow the root: names ("error_code"), integer subscripts ("[0]") and quoted names
// ("['a b']"), chained. Each operation joins its path to the root as the engine's script would,
// so "[0]" reads the first element through GetText but fails through TypeOf and HasMember. A
// path of any other form, or one that reaches a member of null or undefined, fails: the result
// is the empty text, 0, false, or -1 from TypeOf. Edits that fail change nothing.
//
// Texts in and out are code page 936; characters the code page lacks come out as "?".
class JsonObject {
 public:
  struct Document;

  JsonObject();
  ~JsonObject();
  // A copy shares the document until either side parses or runs Init.
  JsonObject(const JsonObject& other);
  JsonObject& operator=(const JsonObject& other);

  // A new document whose root is an empty object.
  void Init();
  // A new document holding the JSON text; false for an empty or invalid text, a null root, or
  // containers nested more than 1000 deep. A lone JSON string makes a string root.
  bool Parse(std::string_view text);
  // Compact JSON text of the whole document; empty when the root is undefined.
  Text ToJson() const;
  // Sets a member to `value` as the body of a single-quoted string literal (its escapes
  // resolved; a quote or line break left bare makes the statement invalid), or, with
  // `valueIsJson`, to the JSON value of `value` ("{}" when empty).
  void SetMember(std::string_view key, std::string_view value, bool valueIsJson = false);
  // Sets a member to the JSON value of `json`; undefined when `json` is empty.
  void SetMemberJson(std::string_view key, std::string_view json);
  // Sets a member to the number as NumberToText writes it; nothing for infinities and NaN.
  void SetMemberNumber(std::string_view key, double number);
  double GetNumber(std::string_view path) const;
  Text GetMemberJson(std::string_view path) const;
  // The value as text: strings as they are, booleans "-1" and "0", null and missing values
  // empty, numbers through NumberToText, objects "[object Object]", arrays their elements
  // joined by ","; with `asJson`, its JSON text.
  Text GetText(std::string_view path, bool asJson = false) const;
  JsonObject GetMemberObject(std::string_view path) const;
  // Own members of an object, elements of an array; 0 for anything else.
  int Count(std::string_view path = {}) const;
  // Pushes `value` (a quoted string body, or with `raw` a JSON text) onto the array at
  // `path`, which first becomes an empty array when it is not one.
  void AppendElement(std::string_view value, std::string_view path = {}, bool raw = false);
  JsonObject GetElementObject(int index, std::string_view path = {}) const;
  Text GetElementText(int index, std::string_view path = {}, bool asJson = false) const;
  void SetElement(int index, std::string_view value, bool raw = false);
  void RemoveElement(int index);
  void RemoveMember(std::string_view key);
  // 0 or 4: the root becomes an empty object; 5: an empty array; other codes change nothing.
  void Reset(int typeCode);
  void SetRoot(std::string_view value, bool raw = false);
  // The value exists and is neither null nor undefined.
  bool HasMember(std::string_view path) const;
  // Replaces `names` with the own member names (the indexes of an array) in order.
  int MemberNames(TextList& names, std::string_view path = {}) const;
  // 0 null or missing, 1 boolean, 2 number, 4 object, 5 array, 6 string, -1 a method or a
  // failed path.
  int TypeOf(std::string_view path = {}) const;
  // The root becomes an empty object.
  void Clear();

  // The name of the root variable in the engine's script; always "da".
  Text varName;
  // The document, shared by copies. Without one every operation fails and Parse returns false.
  std::shared_ptr<Document> engine;
};

}  // namespace quillmere
