#include "fuzz_input.h"
#include "script/regex_object.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmere;
  if (size == 0) return 0;
  const auto parts = fuzz::SplitInput(data + 1, size - 1, 3);
  RegexObject regex;
  if (!regex.Create(parts[0], parts[1], data[0] & 1, data[0] & 2, data[0] & 4, data[0] & 8)) {
    return 0;
  }
  int position = 0;
  const int count = regex.MatchCount();
  if (count > 0) {
    regex.MatchText(count, &position);
    regex.SubMatchText(1, 1, &position);
  }
  regex.SubMatchCount();
  regex.Replace(parts[2]);
  return 0;
}
