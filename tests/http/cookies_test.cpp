#include "http/cookies.h"

#include "http/item_list.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

TEST(MergeCookies, NewCookiesReplaceOldOnesOfTheSameName) {
  const struct {
    const char* name;
    Text cookies, newCookies, want;
  } cases[] = {
      {"worked example", "a=1; b=2; c=3", "b=9; c=deleted; d=4", "b=9; d=4; a=1"},
      {"both empty", "", "", ""},
      {"repeated new item", "", "x=1; x=1", "x=1"},
      {"nothing new", "a=1", "", "a=1"},
      {"deleted cookie goes", "a=1", "a=deleted", ""},
      {"names respect case", "A=1", "a=2", "a=2; A=1"},
      {"blanks inside values go", "s=a b", "", "s=ab"},
      {"full-width blank goes",
       "s=a\xA1\xA1"
       "b",
       "", "s=ab"},
      {"first of repeated old names stays", "a=1; a=2", "b=3", "b=3; a=1"},
      {"new repeats of one name all stay", "", "a=1; a=2", "a=1; a=2"},
      {"item without a value", "flag; a=1", "a=2", "a=2; flag"},
      {"trailing separator", "a=1;", "b=2;", "b=2; a=1"},
  };
  for (const auto& c : cases) {
    Text cookies = c.cookies;
    Text newCookies = c.newCookies;
    EXPECT_EQ(MergeCookies(cookies, newCookies), c.want) << c.name;
    EXPECT_EQ(cookies, c.want) << c.name;
  }
}

TEST(MergeCookies, LeavesBothArgumentsWithoutBlanks) {
  Text cookies = "a=1; b=2; c=3";
  Text newCookies = "b=9; c=deleted; d=4";
  MergeCookies(cookies, newCookies);
  EXPECT_EQ(newCookies, "b=9;c=deleted;d=4");
}

TEST(MergeCookies, KeepsOrderOnManyCookies) {
  constexpr int kCount = 20000;
  Text cookies, newCookies, want;
  for (int i = 0; i < kCount; ++i) {
    cookies += "old" + std::to_string(i) + "=1; ";
    newCookies += "new" + std::to_string(i) + "=2; ";
  }
  for (int i = 0; i < kCount; ++i) want += "new" + std::to_string(i) + "=2; ";
  for (int i = 0; i < kCount; ++i) want += "old" + std::to_string(i) + "=1; ";
  want.resize(want.size() - 2);
  EXPECT_EQ(MergeCookies(cookies, newCookies), want);
}

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals) {
  const struct {
    Text item, want;
  } cases[] = {
      {"a=1", "a"}, {" a =1=2", "a"}, {"flag", "flag"}, {"  flag ", "flag"}, {"=v", ""}, {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CookieName(c.item), c.want) << c.item;
}

TEST(HasCookieName, ComparesNamesWithCase) {
  const TextList list = {"a=1", " B =2", "flag"};
  EXPECT_TRUE(HasCookieName(list, "a"));
  EXPECT_TRUE(HasCookieName(list, "B"));
  EXPECT_TRUE(HasCookieName(list, "flag"));
  EXPECT_FALSE(HasCookieName(list, "A"));
  EXPECT_FALSE(HasCookieName(list, "b"));
  EXPECT_FALSE(HasCookieName({}, "a"));
}

TEST(RemoveDuplicateItems, KeepsTheFirstOfEqualItems) {
  const struct {
    Text text, separator, want;
  } cases[] = {
      {"a=1; a=2; a=1", "; ", "a=1; a=2"},
      {"x; x; x", "; ", "x"},
      {"", "; ", ""},
      {"a,b,,a,", ",", "a,b,"},
      {"A, a", ", ", "A, a"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RemoveDuplicateItems(c.text, c.separator), c.want) << c.text;
  }
}

TEST(FindItem, GivesTheOneBasedIndexOfTheFirstEqualItem) {
  const TextList list = {"a", "b", "a", ""};
  EXPECT_EQ(FindItem(list, "a"), 1);
  EXPECT_EQ(FindItem(list, "b"), 2);
  EXPECT_EQ(FindItem(list, ""), 4);
  EXPECT_EQ(FindItem(list, "A"), -1);
  EXPECT_EQ(FindItem({}, "a"), -1);
}

}  // namespace
}  // namespace quillmere
