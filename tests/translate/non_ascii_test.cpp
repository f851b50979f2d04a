#include "translate/non_ascii.h"

#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <random>

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

// The direction test answers as the search for such characters does, for any bytes at all:
// every one- and two-byte text, lone and broken double-byte characters among them, and longer
// random texts.
TEST(ContainsNonAscii, AgreesWithExtractNonAsciiOnAnyBytes) {
  const auto agree = [](const Text& text) {
    return ContainsNonAscii(text) == (TextLength(ExtractNonAscii(text)) > 0);
  };
  for (int first = 0; first < 256; ++first) {
    const Text one(1, static_cast<char>(first));
    ASSERT_TRUE(agree(one)) << first;
    for (int second = 0; second < 256; ++second) {
      ASSERT_TRUE(agree(one + static_cast<char>(second))) << first << " " << second;
    }
  }
  std::mt19937 random(9);
  std::uniform_int_distribution<int> printable(0x20, 0x7F);
  std::uniform_int_distribution<int> anyByte(0, 255);
  for (int i = 0; i < 2000; ++i) {
    // Mostly printable ASCII with an occasional other byte, so both answers occur.
    Text text;
    for (int k = 0; k < 12; ++k) {
      text += static_cast<char>(i % 3 == 0 && k == i % 12 ? anyByte(random) : printable(random));
    }
    ASSERT_TRUE(agree(text)) << ::testing::PrintToString(text);
  }
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
