#pragma once

// The document behind JsonObject and its JSON text, inside the script module only.
// Strings are held as UTF-8, where a lone UTF-16 surrogate (which a \u escape can make) keeps
// its own three-byte form, so that every string survives the way back to UTF-16 unchanged.

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillmere {

using JsonValue = nlohmann::ordered_json;

// Containers nested deeper than this make a text unreadable; the root container is level 1.
inline constexpr int kMaxJsonDepth = 1000;

// The script's undefined. An object member holding it exists (it is counted and listed) but is
// left out of JSON text; an array element holding it is a hole, which only JSON text shows,
// as null.
JsonValue UndefinedValue();
bool IsUndefined(const JsonValue& value);

// True when `text` holds nothing but JSON white space.
bool IsJsonBlank(std::string_view text);

// The value of a JSON text (RFC 8259; a lone string is a string value), every number a double,
// members in the order written, and a repeated name keeping its first place and its last value.
// Nothing when the text is not JSON or nests deeper than `maxDepth`.
std::optional<JsonValue> ReadJsonText(std::string_view utf8, int maxDepth = kMaxJsonDepth);

// The compact JSON text the engine's stringify gives; nothing for undefined (whose text is
// undefined as well).
std::optional<std::string> WriteJsonText(const JsonValue& value);

// The engine's own text of a number: the shortest digits that read back to the same double,
// "1e+21" and "1e-7" forms outside 1e-7 to 1e21, "NaN", "Infinity".
std::string EcmaNumberText(double x);

// The double nearest to a decimal number text of the JSON form (an optional "-", digits, an
// optional fraction and exponent); infinity or zero when it lies beyond the range of doubles.
double DecimalToDouble(std::string_view decimal);

// One code point read at `at`, which moves past it; a malformed byte reads as U+FFFD.
char32_t DecodeWtf8(std::string_view s, std::size_t& at);
void AppendWtf8(std::string& out, char32_t c);
std::u16string Utf16FromWtf8(std::string_view s);
std::string Wtf8FromUtf16(std::u16string_view units);

// Number of UTF-16 units the engine would count in a string.
std::size_t Utf16Length(std::string_view s);

}  // namespace quillmere
