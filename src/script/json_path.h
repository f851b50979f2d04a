#pragma once

// Member access on the document the way the script engine evaluates it, inside the script
// module only. A path is the text that follows the root variable in a script expression; the
// accepted syntax is names (identifiers that are not reserved words), integer subscripts and
// quoted names in square brackets, with white space between them. Any other text stands for a
// script that does not compile.

#include "script/json_text.h"

#include <optional>
#include <string_view>

namespace quillmere {

// How an operation joins a caller's path to the root variable.
enum class PathJoin {
  Dot,           // root "." path, always; an empty path or one beginning with "[" fails
  BracketAware,  // root path when the path begins with "[", otherwise as Dot
  Optional,      // the root alone for an empty path, otherwise as Dot
};

// What evaluating a member access gives.
struct ScriptValue {
  enum class Kind {
    Failed,     // the script does not compile, or raises an error (a member of null)
    Undefined,  // a member that does not exist, or one holding undefined
    Function,   // a method every value of its kind inherits
    Number,     // a number the engine computes (a length), not held in the document
    Node,       // a value held in the document: null, boolean, number, string, object, array
  };
  Kind kind = Kind::Failed;
  JsonValue* node = nullptr;
  double number = 0;
};

// Evaluates the root joined with `path` (UTF-8), then "[" index "]" when `index` is given.
ScriptValue EvaluatePath(JsonValue& root, PathJoin join, std::string_view path,
                         std::optional<int> index = std::nullopt);

// Runs `root<join>path[index] = value`. Nothing changes when the statement fails; an assignment
// the engine accepts but drops (a member of a string) changes nothing either. False when the
// statement fails or the document cannot hold the result.
bool AssignPath(JsonValue& root, PathJoin join, std::string_view path, std::optional<int> index,
                JsonValue value);

// Runs `delete root.path`: an object loses the member, an array element becomes a hole.
void DeletePath(JsonValue& root, std::string_view path);

}  // namespace quillmere
