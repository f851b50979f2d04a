#include "fuzz_input.h"
#include "translate/codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool keepSafe = data[0] & 1;
  const bool asUtf8 = data[0] & 2;
  quillmere::UrlEncode(quillmere::fuzz::SplitInput(data + 1, size - 1, 1)[0], keepSafe, asUtf8);
  return 0;
}
