#include "fuzz_input.h"
#include "translate/escape_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quillmere::DecodeUnicodeEscapes(quillmere::fuzz::SplitInput(data, size, 1)[0]);
  return 0;
}
