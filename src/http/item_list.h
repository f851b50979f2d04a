#pragma once

#include "platform/text.h"

#include <string_view>

namespace quillmere {

// `text` split at `separator` and joined again with every repeat of an earlier item left out.
// Items repeat only when their whole texts are equal byte for byte.
Text RemoveDuplicateItems(std::string_view text, std::string_view separator);

// 1-based index of the first item equal to `item` byte for byte, or -1.
int FindItem(const TextList& list, std::string_view item);

}  // namespace quillmere
