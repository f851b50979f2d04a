#pragma once

#include "platform/text.h"

namespace quillmere {

// What the result box shows when a translation fails: the routine's error text between the
// program's own opening and closing lines.
Text QueryErrorText(const Text& errorText);

}  // namespace quillmere
