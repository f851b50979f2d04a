#pragma once

#include "platform/text.h"

#include <string_view>

namespace quillmere {

// The trimmed parts of a header line before and after its first ":"; both are empty when the
// line holds no ":".
Text HeaderName(std::string_view line);
Text HeaderValue(std::string_view line);

}  // namespace quillmere
