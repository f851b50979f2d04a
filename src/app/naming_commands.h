#pragma once

#include "platform/text.h"

namespace quillmere {

// The word with every ASCII letter in upper case; double-byte characters stay whole.
Text UpperWord(const Text& word);
// The word with every ASCII letter in lower case; double-byte characters stay whole.
Text LowerWord(const Text& word);
// The first byte upper-cased when it is a letter a-z, the rest unchanged. A word that begins
// with a double-byte character comes back as it was.
Text CapitalizeWord(const Text& word);

}  // namespace quillmere
