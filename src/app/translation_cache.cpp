#include "app/translation_cache.h"

#include <cstdlib>

namespace quillmere {

Text g_lastSourceText;
Text g_lastTranslation;

void ClearTranslationCache() {
  // Swapping with a fresh text gives the storage back, which clear() alone would keep.
  Text().swap(g_lastTranslation);
  Text().swap(g_lastSourceText);
}

void RegisterCacheCleanUp() { std::atexit(ClearTranslationCache); }

}  // namespace quillmere
