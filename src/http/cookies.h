#pragma once

#include "platform/text.h"

#include <string_view>

namespace quillmere {

// Merges the cookies of the latest response into the cookie string that was sent: a new
// cookie replaces an old one of the same name, a cookie whose value is "deleted" goes, and
// the old cookies without a new counterpart follow the new ones. Blanks are removed from both
// arguments, which keep that form; the merged string is returned and also left in `cookies`.
Text MergeCookies(Text& cookies, Text& newCookies);

// The trimmed text before the first "=" of a cookie item (the whole trimmed item without one).
Text CookieName(std::string_view item);

// True when some item of `list` has the cookie name `name`, letter case respected.
bool HasCookieName(const TextList& list, std::string_view name);

}  // namespace quillmere
