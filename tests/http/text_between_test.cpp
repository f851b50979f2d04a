#include "http/text_between.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

// "#引号" in code page 936.
const Text kQuoteMarker = "#\xD2\xFD\xBA\xC5";

TEST(TextBetween, CutsBetweenTheMarkers) {
  const struct {
    const char* name;
    Text text, start, end;
    int startPos;
    bool ignoreCase;
    Text want;
  } cases[] = {
      {"both found", "a[b]c", "[", "]", 0, false, "b"},
      {"no end marker", "a[b]c", "[", "x", 0, false, ""},
      {"end only before start", "a[b]c", "]", "[", 0, false, ""},
      {"no start marker", "abc", "[", "]", 0, false, ""},
      {"markers adjacent", "a[]c", "[", "]", 0, false, ""},
      {"first end after start", "[a]b]", "[", "]", 0, false, "a"},
      {"start position skips first", "[a][b]", "[", "]", 2, false, "b"},
      {"start position at marker", "[a][b]", "[", "]", 4, false, "b"},
      {"negative position from start", "[a][b]", "[", "]", -3, false, "a"},
      {"quote marker as start", "say \"hi\" now", kQuoteMarker, kQuoteMarker, 0, false, "hi"},
      {"quote marker inside a marker", "v=\"x\";", "=" + kQuoteMarker, kQuoteMarker + ";", 0, false,
       "x"},
      {"case respected by default", "Set-Cookie: a=1; p", "set-cookie:", ";", 0, false, ""},
      {"case ignored on request", "Set-Cookie: a=1; p", "set-cookie:", ";", 0, true, " a=1"},
      {"case ignored for end marker", "<B>x</B>", "<b>", "</b>", 0, true, "x"},
      // 中 is D6 D0: a marker byte inside a double-byte character is no match.
      {"double-byte aware", "\xD6[x[y]", "[", "]", 0, false, "y"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.start, c.end, c.startPos, c.ignoreCase), c.want) << c.name;
  }
}

TEST(TextBetween, DefaultsSearchFromTheStartWithCase) {
  EXPECT_EQ(TextBetween("Set-Cookie: a=1; path=/", "Set-Cookie:", ";"), " a=1");
  EXPECT_EQ(TextBetween("set-cookie: a=1; path=/", "Set-Cookie:", ";"), "");
}

}  // namespace
}  // namespace quillmere
