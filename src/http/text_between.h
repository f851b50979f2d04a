#pragma once

#include "platform/text.h"

#include <string_view>

namespace quillmere {

// The text between the first `startMarker` found from `startPos` (1-based; 0 or below
// searches from the start) and the next `endMarker` after it; empty when either is missing.
// "#引号" in a marker stands for a double quote.
Text TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                 int startPos = 0, bool ignoreCase = false);

}  // namespace quillmere
