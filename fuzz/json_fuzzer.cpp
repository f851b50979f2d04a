#include <algorithm>

#include "fuzz_input.h"
#include "platform/text.h"
#include "script/json_object.h"

// Parses an answer and reads it the way the translation request does.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmere;
  JsonObject answer;
  if (!answer.Parse(fuzz::SplitInput(data, size, 1)[0])) return 0;
  if (answer.HasMember("error_code")) {
    answer.GetText("error_code");
    answer.GetText("error_msg");
  }
  const int count = std::min(answer.Count("trans_result"), 1000);
  for (int i = 0; i < count; ++i) answer.GetText("trans_result[" + NumberToText(i) + "].dst");
  answer.ToJson();
  answer.TypeOf();
  TextList names;
  answer.MemberNames(names);
  return 0;
}
