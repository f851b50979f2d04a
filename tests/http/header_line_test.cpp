#include "http/header_line.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

TEST(HeaderLine, SplitsAtTheFirstColon) {
  const struct {
    Text line, name, value;
  } cases[] = {
      {"X-Note: a: b", "X-Note", "a: b"},
      {"Name:", "Name", ""},
      {": v", "", "v"},
      {"  Accept :  */*  ", "Accept", "*/*"},
      {"no colon", "", ""},
      {"", "", ""},
      // 0xD6 0x3A is one double-byte character, so its second byte is no colon.
      {"\xD6:k: v", "\xD6:k", "v"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HeaderName(c.line), c.name) << c.line;
    EXPECT_EQ(HeaderValue(c.line), c.value) << c.line;
  }
}

}  // namespace
}  // namespace quillmere
