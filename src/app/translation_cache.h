#pragma once

#include "platform/text.h"

namespace quillmere {

// The last translation that succeeded in a caching path and the source text it was made for.
// Both live for the whole process and are only ever replaced together.
extern Text g_lastSourceText;
extern Text g_lastTranslation;

// Releases g_lastTranslation, then g_lastSourceText.
void ClearTranslationCache();
// Has ClearTranslationCache run when the process exits.
void RegisterCacheCleanUp();

}  // namespace quillmere
