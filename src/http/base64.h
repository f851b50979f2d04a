#pragma once

#include "platform/text.h"

namespace quillmere {

// Standard Base64 with "=" padding and no line breaks. `data` is padded in place with zero
// bytes up to a multiple of three, so the caller's array keeps that padding afterwards.
Text Base64Encode(Bytes& data);

}  // namespace quillmere
