#include "fuzz_input.h"
#include "translate/codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmere;
  const Text text = Utf8BytesToAnsi(Bytes(data, data + size));
  AnsiToUtf8(text);
  AnsiToUtf8(fuzz::SplitInput(data, size, 1)[0]);
  return 0;
}
