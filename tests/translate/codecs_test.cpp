#include "translate/codecs.h"

#include <gtest/gtest.h>

#include <string>

namespace quillmere {
namespace {

using namespace std::string_literals;

// 中 is D6 D0 in code page 936, E4 B8 AD in UTF-8 and U+4E2D.
const Text kZhong = "\xD6\xD0";
const Text kZhongUtf8 = "\xE4\xB8\xAD";

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(UrlEncode, EncodesEachByteAsTwoUpperCaseDigits) {
  struct Case {
    const char* name;
    Text text;
    bool keepSafe;
    bool asUtf8;
    Text want;
  } cases[] = {
      {"empty", "", false, false, ""},
      {"empty as UTF-8", "", true, true, ""},
      {"letters too", "a b", false, false, "%61%20%62"},
      {"leading zero", "\n", false, false, "%0A"},
      {"high byte", "\xFF", false, false, "%FF"},
      {"safe bytes kept", "a-b_c.d/e~", true, false, "a-b%5Fc.d%2Fe%7E"},
      {"safe classes", "AZaz09-. +", true, false, "AZaz09-.%20%2B"},
      {"code page bytes", kZhong, false, false, "%D6%D0"},
      {"UTF-8 bytes", kZhong, false, true, "%E4%B8%AD"},
      {"UTF-8 and safe", "x" + kZhong + "1", true, true, "x%E4%B8%AD1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UrlEncode(c.text, c.keepSafe, c.asUtf8), c.want) << c.name;
  }
}

TEST(AnsiToUtf8, ConvertsCodePageTextUpToItsNul) {
  EXPECT_EQ(AnsiToUtf8(""), "");
  EXPECT_EQ(AnsiToUtf8("plain ASCII ~"), "plain ASCII ~");
  EXPECT_EQ(AnsiToUtf8("\xC4\xE3\xBA\xC3"), "\xE4\xBD\xA0\xE5\xA5\xBD");
  EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(AnsiToUtf8("ab\0cd"s), "ab");
}

TEST(AnsiToWide, GivesLittleEndianUnitsAndOneZeroUnit) {
  struct Case {
    const char* name;
    std::string text;
    int codePage;
    Bytes want;
  } cases[] = {
      {"empty", "", kCodePageGbk, {0, 0}},
      {"code page 936", "A" + kZhong, kCodePageGbk, {0x41, 0, 0x2D, 0x4E, 0, 0}},
      {"ANSI is 936", kZhong, kCodePageAnsi, {0x2D, 0x4E, 0, 0}},
      {"euro sign", "\x80", kCodePageGbk, {0xAC, 0x20, 0, 0}},
      {"UTF-8 by default", kZhongUtf8, kCodePageUtf8, {0x2D, 0x4E, 0, 0}},
      {"surrogate pair", "\xF0\x9F\x98\x80", kCodePageUtf8, {0x3D, 0xD8, 0x00, 0xDE, 0, 0}},
      {"invalid UTF-8", "\xFF", kCodePageUtf8, {0xFD, 0xFF, 0, 0}},
      {"stops at NUL", "ab\0cd"s, kCodePageGbk, {'a', 0, 'b', 0, 0, 0}},
      {"unsupported code page", "ab", 1252, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AnsiToWide(c.text, c.codePage), c.want) << c.name;
  }
  EXPECT_EQ(AnsiToWide(kZhongUtf8), (Bytes{0x2D, 0x4E, 0, 0}));
}

TEST(WideToAnsi, ReadsUnitsUpToTheFirstZeroUnit) {
  struct Case {
    const char* name;
    Bytes units;
    int codePage;
    Text want;
  } cases[] = {
      {"empty", {}, kCodePageGbk, ""},
      {"only the terminator", {0, 0}, kCodePageGbk, ""},
      {"code page 936", {0x41, 0, 0x2D, 0x4E, 0, 0}, kCodePageGbk, "A" + kZhong},
      {"UTF-8", {0x41, 0, 0x2D, 0x4E, 0, 0}, kCodePageUtf8, "A" + kZhongUtf8},
      {"euro sign", {0xAC, 0x20, 0, 0}, kCodePageGbk, "\x80"},
      {"stops at the zero unit", {0x41, 0, 0, 0, 0x42, 0}, kCodePageGbk, "A"},
      {"a zero byte is not a zero unit", {0x00, 0x4E, 0, 0}, kCodePageUtf8, "\xE4\xB8\x80"},
      {"no terminator", {0x41, 0, 0x42, 0}, kCodePageGbk, "AB"},
      {"odd byte left over", {0x41, 0, 0x42}, kCodePageGbk, "A"},
      {"emoji lacks in 936", {0x3D, 0xD8, 0x00, 0xDE, 0, 0}, kCodePageGbk, "?"},
      {"lone surrogate to UTF-8", {0x00, 0xD8, 0x2D, 0, 0, 0}, kCodePageUtf8, "\xEF\xBF\xBD-"},
      {"unsupported code page", {0x41, 0, 0, 0}, 1252, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WideToAnsi(c.units, c.codePage), c.want) << c.name;
  }
  EXPECT_EQ(WideToAnsi(Bytes{0x2D, 0x4E, 0, 0}), kZhong);
}

TEST(CodePage936, EveryDoubleByteCodeSurvivesARoundTrip) {
  int codes = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const Text code{static_cast<char>(lead), static_cast<char>(trail)};
      const Bytes units = AnsiToWide(code, kCodePageGbk);
      ASSERT_EQ(units.size(), 4u) << std::hex << lead << trail;
      ASSERT_FALSE(units[0] == 0xFD && units[1] == 0xFF) << std::hex << lead << trail;
      ASSERT_EQ(WideToAnsi(units, kCodePageGbk), code) << std::hex << lead << trail;
      ++codes;
    }
  }
  EXPECT_EQ(codes, 126 * 190);
}

TEST(Utf8BytesToAnsi, ConvertsTheAnswerUpToItsFirstNul) {
  struct Case {
    const char* name;
    std::string utf8;
    Text want;
  } cases[] = {
      {"empty", "", ""},
      {"Chinese", "\xE4\xBD\xA0\xE5\xA5\xBD", "\xC4\xE3\xBA\xC3"},
      {"NUL in the middle", "ab\0cd"s, "ab"},
      {"NUL after a cut sequence", "a\xE4\0b"s, "a?"},
      {"euro sign", "\xE2\x82\xAC", "\x80"},
      {"lacking character", "\xEC\x95\x88", "?"},
      {"one mark per character", "\xF0\x9F\x98\x80", "?"},
      {"best fit", "m\xC2\xB2", "m2"},
      {"invalid bytes",
       "\xC0\xC0\x80"
       "a\xE6",
       "???a?"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8BytesToAnsi(bytesOf(c.utf8)), c.want) << c.name;
  }
}

}  // namespace
}  // namespace quillmere
