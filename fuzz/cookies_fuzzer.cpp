#include "fuzz_input.h"
#include "http/cookies.h"
#include "http/text_between.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmere;
  const auto parts = fuzz::SplitInput(data, size, 4);
  Text cookies(parts[0]);
  Text newCookies(parts[1]);
  MergeCookies(cookies, newCookies);
  TextBetween(parts[3], parts[1], parts[2]);
  TextBetween(parts[3], parts[1], parts[2], static_cast<int>(parts[0].size()), true);
  return 0;
}
