#include "translate/non_ascii.h"

#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

Text gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

TEST(ContainsNonAscii, CountsEveryCharacterOutsideTheRange) {
  struct Case {
    Text text;
    bool contains;
  } cases[] = {
      {"", false},         {"hello", false},       {" ~!\x7F", false},
      {"a\tb", true},      {"two\r\nlines", true}, {"\x01", true},
      {gbk("你好"), true}, {"price \x80", true},  // the euro sign, one byte in code page 936
  };
  for (const auto& c : cases) EXPECT_EQ(ContainsNonAscii(c.text), c.contains) << c.text;
}

TEST(ExtractNonAscii, JoinsTheCharactersInOrder) {
  EXPECT_EQ(ExtractNonAscii(gbk("a中 b\t文\r\nc")), gbk("中\t文\r\n"));
  EXPECT_EQ(ExtractNonAscii("plain text"), "");
}

TEST(ExtractNonAscii, RemovesTheEnginesWhiteSpaceWhenAsked) {
  EXPECT_EQ(ExtractNonAscii(gbk("a中 b\t文\r\n\v\fc"), true), gbk("中文"));
  // The full-width space is no white space to the engines.
  EXPECT_EQ(ExtractNonAscii(gbk("中　文"), true), gbk("中　文"));
  EXPECT_EQ(ExtractNonAscii(" \t ", true), "");
}

}  // namespace
}  // namespace quillmere
