#include "fuzz_input.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmere;
  if (size < 2) return 0;
  const int start = static_cast<signed char>(data[0]);
  const bool flag = data[1] & 1;
  const auto parts = fuzz::SplitInput(data + 2, size - 2, 3);
  FindText(parts[2], parts[0], start, flag);
  ReplaceText(parts[2], parts[0], parts[1], start, static_cast<int>(data[1] >> 1) - 1, flag);
  SplitText(parts[2], parts[0]);
  TrimBoth(parts[2]);
  return 0;
}
