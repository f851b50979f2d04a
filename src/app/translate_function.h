#pragma once

#include "platform/text.h"

#include <functional>

namespace quillmere {

// The translation routine the window calls. True on success with `translation` set (or, for an
// answer the service gives without a result, left as the caller had it); false with `errorText`
// set.
using TranslateFunction =
    std::function<bool(const Text& source, Text& translation, Text& errorText)>;

}  // namespace quillmere
