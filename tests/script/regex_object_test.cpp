#include "script/regex_object.h"

#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace quillmere {
namespace {

// Test texts are written in UTF-8 and used in code page 936.
Text gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

const Text kNonAscii = "[^\\x20-\\x7f]";

std::vector<Text> allMatches(const RegexObject& regex) {
  std::vector<Text> texts;
  for (int i = 1; i <= regex.MatchCount(); ++i) texts.push_back(regex.MatchText(i));
  return texts;
}

TEST(RegexObject, FindsNonAsciiCharactersOnePerCharacter) {
  RegexObject regex;
  EXPECT_TRUE(regex.Create(kNonAscii, "abcXYZ"));
  EXPECT_EQ(regex.MatchCount(), 0);

  ASSERT_TRUE(regex.Create(kNonAscii, gbk("a中b")));
  EXPECT_EQ(allMatches(regex), std::vector<Text>{gbk("中")});

  ASSERT_TRUE(regex.Create(kNonAscii, gbk("x\t1\r\n中文\x7F~")));
  EXPECT_EQ(allMatches(regex), (std::vector<Text>{"\t", "\r", "\n", gbk("中"), gbk("文")}));
}

// With letter case ignored (the default), ICU closes a class over case before negating it;
// no character of code page 936 may fall into the ASCII range that way.
TEST(RegexObject, NonAsciiClassMatchesExactlyTheCharactersOutsideTheRange) {
  Text subject;
  std::vector<Text> expected;
  auto add = [&](const Text& c, bool outside) {
    subject += c;
    if (outside) expected.push_back(c);
  };
  for (int b = 0; b < 0x80; ++b) add(Text(1, static_cast<char>(b)), b < 0x20);
  add("\x80", true);
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const Text c{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string unit = DecodeCodePage(c, kCodePageGbk);
      if (trail != 0x7F && unit.size() == 1 && unit[0] != u'\uFFFD') add(c, true);
    }
  }
  RegexObject regex;
  ASSERT_TRUE(regex.Create(kNonAscii, subject));
  EXPECT_GT(regex.MatchCount(), 20000);
  EXPECT_EQ(allMatches(regex), expected);
}

TEST(RegexObject, PositionIsTheByteOffsetOfTheMatch) {
  RegexObject regex;
  ASSERT_TRUE(regex.Create("[a-z]", gbk("中文ab")));
  ASSERT_EQ(regex.MatchCount(), 2);
  int position = 99;
  EXPECT_EQ(regex.MatchText(2, &position), "b");
  EXPECT_EQ(position, 5);
  EXPECT_EQ(regex.MatchText(1, &position), "a");
  EXPECT_EQ(position, 4);

  // Where a search for the match text from the match's character offset would land early
  // or out of step, the match's own offset still comes back.
  ASSERT_TRUE(regex.Create("a", gbk("中中中aaa")));
  std::vector<int> positions;
  for (int i = 1; i <= regex.MatchCount(); ++i) {
    regex.MatchText(i, &position);
    positions.push_back(position);
  }
  EXPECT_EQ(positions, (std::vector<int>{6, 7, 8}));

  ASSERT_TRUE(regex.Create("x*", gbk("a中")));
  positions.clear();
  for (int i = 1; i <= regex.MatchCount(); ++i) {
    EXPECT_EQ(regex.MatchText(i, &position), "");
    positions.push_back(position);
  }
  EXPECT_EQ(positions, (std::vector<int>{0, 1, 3}));
}

TEST(RegexObject, IndexesOutsideTheMatchesGiveEmptyTexts) {
  RegexObject regex;
  int position = 99;
  EXPECT_EQ(regex.MatchText(1, &position), "");
  EXPECT_EQ(position, -2);

  ASSERT_TRUE(regex.Create("b", "abc"));
  for (int index : {0, 2, -1}) {
    position = 99;
    EXPECT_EQ(regex.MatchText(index, &position), "");
    EXPECT_EQ(position, 0);
    EXPECT_EQ(regex.SubMatchText(1, index, &position), "");
    EXPECT_EQ(position, 0);
  }
  EXPECT_EQ(regex.SubMatchText(1, 1), "");
  EXPECT_EQ(regex.SubMatchCount(), 0);

  ASSERT_TRUE(regex.Create("b", ""));
  EXPECT_EQ(regex.MatchText(1, &position), "");
  EXPECT_EQ(position, -2);
}

TEST(RegexObject, AppliesTheFourOptions) {
  RegexObject regex;
  // Alternating the case option checks that each combination compiles on its own.
  for (int round = 0; round < 2; ++round) {
    EXPECT_TRUE(regex.Create("A", "xay"));
    EXPECT_EQ(regex.MatchCount(), 1);
    EXPECT_TRUE(regex.Create("A", "xay", true));
    EXPECT_EQ(regex.MatchCount(), 0);
  }
  ASSERT_TRUE(regex.Create("^b", "a\r\nb"));
  EXPECT_EQ(regex.MatchCount(), 1);
  ASSERT_TRUE(regex.Create("^b", "a\r\nb", false, false));
  EXPECT_EQ(regex.MatchCount(), 0);
  ASSERT_TRUE(regex.Create("a$", "a\nb"));
  EXPECT_EQ(regex.MatchCount(), 1);
  ASSERT_TRUE(regex.Create("a$", "a\n", false, false));
  EXPECT_EQ(regex.MatchCount(), 0);
  ASSERT_TRUE(regex.Create("[a-z]", "abc", false, true, false));
  EXPECT_EQ(allMatches(regex), std::vector<Text>{"a"});
}

TEST(RegexObject, QuoteMarkerStandsForADoubleQuote) {
  const Text pattern = gbk("#引号x#引号");
  RegexObject regex;
  ASSERT_TRUE(regex.Create(pattern, "say \"x\" x", false, true, true, true));
  EXPECT_EQ(allMatches(regex), std::vector<Text>{"\"x\""});
  EXPECT_EQ(regex.GetPattern(), "\"x\"");

  ASSERT_TRUE(regex.Create(pattern, "say \"x\" x"));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.GetPattern(), pattern);
}

TEST(RegexObject, RejectedPatternLeavesNoMatches) {
  RegexObject regex;
  EXPECT_EQ(regex.GetPattern(), "");
  ASSERT_TRUE(regex.Create("b", "abc"));
  EXPECT_FALSE(regex.Create("(a", "abc"));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.SubMatchCount(), 0);
  EXPECT_EQ(regex.MatchText(1), "");
  EXPECT_EQ(regex.Replace("x"), "");
  EXPECT_EQ(regex.GetPattern(), "(a");
}

TEST(RegexObject, RejectsWhatTheScriptEnginesReject) {
  for (const char* pattern : {"(", ")", "a)", "[a", "a\\", "*a", "a**", "a*+", "a{2,1}", "[z-a]",
                              "(?<=a)b", "(?i)a", "^*", "\\b+", "a|*"}) {
    RegexObject regex;
    EXPECT_FALSE(regex.Create(pattern, "aaa")) << pattern;
  }
}

// Where ICU's syntax reads the same text differently, the script engines' meaning holds.
TEST(RegexObject, FollowsTheScriptEnginesSyntax) {
  struct Case {
    const char* pattern;
    Text subject;
    std::vector<Text> matches;
  } cases[] = {
      {"\\d", gbk("1２3"), {"1", "3"}},
      {"\\w+", gbk("ab中_c"), {"ab", "_c"}},
      {"\\W", gbk("a中"), {gbk("中")}},
      // The engines' white space, without the full-width space.
      {"\\s", gbk("\t\n\v\f\r a　"), {"\t", "\n", "\v", "\f", "\r", " "}},
      {"[\\s]+", gbk("a\t \vb　"), {"\t \v"}},
      {"\\S+", gbk("a　b c"), {gbk("a　b"), "c"}},
      {"\\v", "v\v\f", {"\v"}},
      {"\\bb", gbk("ab b中b"), {"b", "b"}},
      {"b\\B", "ab bc", {"b"}},
      {".", "\r\n\v\f", {"\v", "\f"}},
      {"^", "a\r\nb", {"", "", ""}},
      {"\\p\\e\\a\\k\\Q\\R\\h", "peakQRh", {"peakQRh"}},
      {"a{,2}", "a{,2}", {"a{,2}"}},
      {"a{2}", "aaa", {"aa"}},
      {"{}]", "{}]", {"{}]"}},
      {"\\x41\\u0042\\x4", "ABx4", {"ABx4"}},
      {"\\cJ\\c1", std::string("\n\\c1"), {std::string("\n\\c1")}},
      {"\\0\\101\\8", std::string("\0A8", 3), {std::string("\0A8", 3)}},
      {"\\1", "\x01", {"\x01"}},
      {"(a)\\1", "aab", {"aa"}},
      {"(a)\\10", "aa0a\b", {"a\b"}},
      {"[\\b]", "b\b", {"\b"}},
      {"[\\d-z]+", "1-z_", {"1-z"}},
      {"[^]", "ab", {"a", "b"}},
      {"[]a", "ab", {}},
      {"[&&a-c]+", "a&c", {"a&c"}},
      {"[\\[\\]]+", "[]", {"[]"}},
      {"[^\\D]", "a1", {"1"}},
      {"(?=a)*a", "a", {"a"}},
      {"a+?", "aaa", {"a", "a", "a"}},
      {"x*", "ab", {"", "", ""}},
      {"\\$", "a$", {"$"}},
      {"#\\ a", "# a#a", {"# a"}},
  };
  for (const auto& c : cases) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create(c.pattern, c.subject)) << c.pattern;
    EXPECT_EQ(allMatches(regex), c.matches) << c.pattern;
  }
}

TEST(RegexObject, SubMatchesGiveGroupTextsAndPositions) {
  RegexObject regex;
  ASSERT_TRUE(regex.Create("(\\w+)=(\\d+)?(;)?", gbk("中 ab=12; c=")));
  EXPECT_EQ(regex.SubMatchCount(), 3);
  ASSERT_EQ(regex.MatchCount(), 2);
  int position = 99;
  EXPECT_EQ(regex.SubMatchText(1, 1, &position), "ab");
  EXPECT_EQ(position, 3);
  EXPECT_EQ(regex.SubMatchText(1, 2, &position), "12");
  EXPECT_EQ(position, 6);
  EXPECT_EQ(regex.SubMatchText(2, 1, &position), "c");
  EXPECT_EQ(position, 10);
  EXPECT_EQ(regex.SubMatchText(2, 2, &position), "");
  EXPECT_EQ(position, 0);
  EXPECT_EQ(regex.SubMatchText(2, 4), "");

  // The second group's own offset, not where its text first occurs in the match.
  ASSERT_TRUE(regex.Create("(a)(a)", gbk("中aa")));
  EXPECT_EQ(regex.SubMatchText(1, 2, &position), "a");
  EXPECT_EQ(position, 3);

  ASSERT_TRUE(regex.Create("(a)", "bbb"));
  EXPECT_EQ(regex.SubMatchCount(), 0);
}

TEST(RegexObject, ReplaceFollowsTheEnginesReplacementRules) {
  struct Case {
    const char* replacement;
    Text result;
  } cases[] = {
      {"", "-."},
      {"<$1|$2>", "-<a|>.<b|9>"},
      {"[$&]", "-[a].[b9]"},
      {"[$`]", "-[-].[-a.]"},
      {"[$']", "-[.b9].[]"},
      {"$$1", "-$1.$1"},
      {"$01$10$0$3$", "-aa0$0$3$.bb0$0$3$"},
      {"$x$", "-$x$.$x$"},
  };
  RegexObject regex;
  ASSERT_TRUE(regex.Create("([a-z])(\\d)?", "-a.b9"));
  for (const auto& c : cases) EXPECT_EQ(regex.Replace(c.replacement), c.result) << c.replacement;

  ASSERT_TRUE(regex.Create("(a)", gbk("中a中a"), false, true, false));
  EXPECT_EQ(regex.Replace(gbk("文$1")), gbk("中文a中a"));

  ASSERT_TRUE(regex.Create("\\s", "a b\tc \r\nd"));
  EXPECT_EQ(regex.Replace(""), "abcd");
  ASSERT_TRUE(regex.Create("z", "abc"));
  EXPECT_EQ(regex.Replace("y"), "abc");
}

TEST(RegexObject, RunawaySearchFailsInsteadOfHanging) {
  RegexObject regex;
  EXPECT_FALSE(regex.Create("(a+)+b", std::string(40, 'a')));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.Replace("x"), "");
  EXPECT_FALSE(regex.Create("(?:a|b)*c", std::string(2000000, 'a')));
  EXPECT_EQ(regex.MatchCount(), 0);
}

TEST(RegexObject, CopiesShareTheResultAndCreateStartsOver) {
  RegexObject regex;
  ASSERT_TRUE(regex.Create("[a-z]", "ab"));
  RegexObject copy(regex);
  ASSERT_TRUE(regex.Create("\\d", "1"));
  EXPECT_EQ(allMatches(copy), (std::vector<Text>{"a", "b"}));
  EXPECT_EQ(copy.GetPattern(), "[a-z]");
  copy = regex;
  EXPECT_EQ(allMatches(copy), std::vector<Text>{"1"});
}

TEST(RegexObject, WorksOnEveryThread) {
  std::vector<Text> onOtherThread;
  std::thread([&] {
    RegexObject regex;
    regex.Create(kNonAscii, gbk("a中"));
    onOtherThread = allMatches(regex);
  }).join();
  EXPECT_EQ(onOtherThread, std::vector<Text>{gbk("中")});
}

}  // namespace
}  // namespace quillmere
