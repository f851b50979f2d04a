#include "platform/text.h"

#include <gtest/gtest.h>

#include <random>

namespace quillmere {
namespace {

// 中 is D6 D0 in code page 936; 文 is CE C4; the full-width space is A1 A1.
const Text kZhong = "\xD6\xD0";
const Text kWen = "\xCE\xC4";
const Text kFullWidthSpace = "\xA1\xA1";

TEST(TextSlices, ClampToTheText) {
  struct Case {
    const char* name;
    Text got;
    Text want;
  } cases[] = {
      {"left within", TextLeft("abcdef", 2), "ab"},
      {"left past end", TextLeft("abc", 9), "abc"},
      {"left zero", TextLeft("abc", 0), ""},
      {"left negative", TextLeft("abc", -1), ""},
      {"right within", TextRight("abcdef", 2), "ef"},
      {"right past end", TextRight("abc", 9), "abc"},
      {"right negative", TextRight("abc", -2), ""},
      {"mid within", TextMid("abcdef", 2, 3), "bcd"},
      {"mid runs past end", TextMid("abcdef", 5, 10), "ef"},
      {"mid start zero", TextMid("abcdef", 0, 2), ""},
      {"mid start past end", TextMid("abc", 4, 1), ""},
      {"mid start at last", TextMid("abc", 3, 1), "c"},
      {"mid no length", TextMid("abc", 1, 0), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
}

TEST(FindText, StepsOverDoubleByteCharacters) {
  struct Case {
    Text text, sub;
    int start;
    bool ignoreCase;
    int want;
  } cases[] = {
      {"hello", "l", 1, false, 3},
      {"hello", "l", 4, false, 4},
      {"hello", "l", 0, false, 3},
      {"hello", "l", -5, false, 3},
      {"hello", "x", 1, false, -1},
      {"hello", "o", 6, false, -1},
      {"Hello", "hEL", 1, true, 1},
      {"Hello", "hEL", 1, false, -1},
      {"hello", "", 1, false, 1},
      {"hello", "", 3, false, 1},
      {"", "", 1, false, -1},
      {"hello", "", 6, false, -1},
      // The trail byte of 中 is D0: a search for it alone never lands there.
      {kZhong, "\xD0", 1, false, -1},
      // 0xD6 0x41 is one character; the 'A' inside it is not a match.
      {"\xD6"
       "AA",
       "A", 1, false, 3},
      {kZhong + kWen + "ab", "b", 1, false, 6},
      {kZhong + kWen, kWen, 1, false, 3},
      // Starting on a trail byte walks out of step, as the position search relies on.
      {"\xD6\xD0\xD6\xD0", "\xD0\xD6", 2, false, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sub, c.start, c.ignoreCase), c.want)
        << "'" << c.text << "' '" << c.sub << "' from " << c.start;
  }
}

// Any text of lead bytes, trail bytes and ASCII: the search finds the first match that starts a
// unit, as a walk by units comparing at each step does.
TEST(FindText, FindsWhatAWalkByUnitsFinds) {
  const auto walk = [](std::string_view t, std::string_view sub, std::size_t from) -> int {
    for (std::size_t i = from; i < t.size();
         i += static_cast<unsigned char>(t[i]) >= 0x80 && i + 1 < t.size() ? 2 : 1) {
      if (t.substr(i, sub.size()) == sub) return static_cast<int>(i) + 1;
    }
    return -1;
  };
  constexpr char kBytes[] = {'a', 'b', '\xD6', '\xD0'};
  std::mt19937 random(3);
  std::uniform_int_distribution<int> pick(0, 3);
  const auto randomText = [&](std::size_t length) {
    Text text;
    for (std::size_t i = 0; i < length; ++i) text += kBytes[pick(random)];
    return text;
  };
  for (int i = 0; i < 5000; ++i) {
    const Text text = randomText(1 + i % 12);
    const Text sub = randomText(1 + i % 3);
    const int start = 1 + i % 4;
    ASSERT_EQ(FindText(text, sub, start), walk(text, sub, static_cast<std::size_t>(start) - 1))
        << ::testing::PrintToString(text) << " " << ::testing::PrintToString(sub) << " from "
        << start;
  }
}

TEST(ReplaceText, ReplacesLeftToRightWithoutOverlap) {
  EXPECT_EQ(ReplaceText("a b  c", " ", "_"), "a_b__c");
  EXPECT_EQ(ReplaceText("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(ReplaceText("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceText("abcabc", "b", "", 3), "abcac");
  EXPECT_EQ(ReplaceText("abab", "a", "x", 1, 1), "xbab");
  EXPECT_EQ(ReplaceText("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceText("Set-Cookie set-cookie", "set-cookie", "Set-Cookie", 1, -1, false),
            "Set-Cookie Set-Cookie");
  EXPECT_EQ(ReplaceText("ab", "B", "x"), "ab");
  // The trail byte D0 of 中 followed by the lead D6 never forms a match.
  EXPECT_EQ(ReplaceText(kZhong + kZhong, "\xD0\xD6", "x"), kZhong + kZhong);
  EXPECT_EQ(ReplaceText(kZhong + "'" + kWen, "'", "\xA1\xAF"), kZhong + "\xA1\xAF" + kWen);
}

TEST(SplitText, KeepsInnerAndLeadingEmptyPiecesButNotATrailingOne) {
  struct Case {
    Text text, delim;
    TextList want;
  } cases[] = {
      {"get user name", " ", {"get", "user", "name"}},
      {"get  name", " ", {"get", "", "name"}},
      {" get name", " ", {"", "get", "name"}},
      {"get name ", " ", {"get", "name"}},
      {"a;;", ";", {"a", ""}},
      {"", " ", {}},
      {"abc", "", {"abc"}},
      {"a\r\nb\r\n", "\r\n", {"a", "b"}},
      {"a b\r\nc d", " ", {"a", "b\r\nc", "d"}},
      {"a; b", "; ", {"a", "b"}},
      // 0xD6 0x20 is one character: its second byte is not a separator.
      {"\xD6 x y", " ", {"\xD6 x", "y"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitText(c.text, c.delim), c.want) << c.text;
}

TEST(Blanks, IncludeTheFullWidthSpace) {
  EXPECT_EQ(TrimBoth("  a b  "), "a b");
  EXPECT_EQ(TrimBoth(kFullWidthSpace + " a" + kFullWidthSpace), "a");
  EXPECT_EQ(TrimBoth(kFullWidthSpace + kZhong + kFullWidthSpace + kWen + " "),
            kZhong + kFullWidthSpace + kWen);
  EXPECT_EQ(TrimBoth("   "), "");
  EXPECT_EQ(TrimBoth(""), "");
  // B0 A1 is one character; the A1 A1 that straddles it is not a full-width space.
  EXPECT_EQ(TrimBoth("\xB0\xA1\xA1"), "\xB0\xA1\xA1");
  EXPECT_EQ(RemoveSpaces("s=a b" + kFullWidthSpace + "c"), "s=abc");
  EXPECT_EQ(RemoveSpaces(kZhong + " " + kWen), kZhong + kWen);
}

TEST(CaseChange, LeavesDoubleByteCharactersWhole) {
  EXPECT_EQ(UpperCase("get URL 1"), "GET URL 1");
  EXPECT_EQ(LowerCase("Get URL"), "get url");
  // 0x81 0x61 is a double-byte character whose trail byte is the code of 'a'.
  const Text trailIsLetter = "\x81\x61";
  EXPECT_EQ(UpperCase(trailIsLetter + "a"), trailIsLetter + "A");
  EXPECT_EQ(LowerCase("\x81\x41"
                      "A"),
            "\x81\x41"
            "a");
  Text word = kZhong + "ab";
  EXPECT_EQ(&CharUpper(word), &word);
  EXPECT_EQ(word, kZhong + "AB");
  EXPECT_EQ(CharLower(word), kZhong + "ab");
}

TEST(CompareText, ComparesUnsignedBytes) {
  EXPECT_EQ(CompareText("abc", "abc"), 0);
  EXPECT_EQ(CompareText("", ""), 0);
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_GT(CompareText("abc", "ab"), 0);
  EXPECT_GT(CompareText("\x80", "a"), 0);
}

TEST(BytesAndText, ConvertAtTheFirstZero) {
  EXPECT_EQ(BytesToText({'a', 'b', 0, 'c'}), "ab");
  EXPECT_EQ(BytesToText({}), "");
  EXPECT_EQ(TextToBytes("a\x80"), (Bytes{'a', 0x80}));
  EXPECT_EQ(BlankBytes(3), (Bytes{0, 0, 0}));
  EXPECT_TRUE(BlankBytes(-1).empty());
  EXPECT_EQ(BlankText(2), "  ");
  EXPECT_EQ(BlankText(0), "");
}

TEST(Numbers, FormatAsTheirTextForms) {
  EXPECT_EQ(HexText(0), "0");
  EXPECT_EQ(HexText(10), "A");
  EXPECT_EQ(HexText(0x0A), "A");
  EXPECT_EQ(HexText(255), "FF");
  EXPECT_EQ(HexText(0x1F40), "1F40");
  EXPECT_EQ(NumberToText(42767), "42767");
  EXPECT_EQ(NumberToText(-3), "-3");
  EXPECT_EQ(NumberToText(15.0), "15");
  EXPECT_EQ(NumberToText(0.0), "0");
  EXPECT_EQ(NumberToText(1.5), "1.5");
  EXPECT_EQ(NumberToText(1e20), "1e+20");
  EXPECT_EQ(NumberToText(0.1 + 0.2), "0.3");
}

}  // namespace
}  // namespace quillmere
