#include "script/string_literal.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

TEST(EvaluateStringLiteral, AppliesTheEscapeRules) {
  struct Case {
    std::u16string body;
    std::u16string want;
  } cases[] = {
      {u"", u""},
      {u"plain 中文", u"plain 中文"},
      {uR"(a\"b)", u"a\"b"},
      {uR"(a\\b)", u"a\\b"},
      {uR"(a\/b)", u"a/b"},
      {uR"(\b\f\n\r\t\v)", u"\b\f\n\r\t\v"},
      {uR"(\x41\x4a)", u"AJ"},
      {uR"(\xZ1)", u"xZ1"},
      {uR"(\x4)", u"x4"},
      {uR"(\u4f60\u597D)", u"你好"},
      {uR"(\u4f6)", u"u4f6"},
      {uR"(\101)", u"A"},
      {uR"(\0)", std::u16string(1, u'\0')},
      {uR"(\0a)", std::u16string(1, u'\0') + u"a"},
      {uR"(\377)", u"\u00FF"},
      {uR"(\400)", u"\u0020" u"0"},
      {uR"(\18)", u"\u0001" u"8"},
      {uR"(\8\9)", u"89"},
      {uR"(\q\%)", u"q%"},
      {uR"(\')", u"'"},
  };
  for (const auto& c : cases) {
    const auto got = EvaluateStringLiteral(c.body);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, c.want);
  }
}

TEST(EvaluateStringLiteral, RejectsWhatAnEngineWouldReject) {
  for (std::u16string body : {u"a'b", u"a\nb", u"a\rb", u"a\u2028b", u"a\\", u"a\\\nb"}) {
    EXPECT_FALSE(EvaluateStringLiteral(body).has_value());
  }
  EXPECT_TRUE(EvaluateStringLiteral(u"a\"b").has_value());
  EXPECT_FALSE(EvaluateStringLiteral(u"a\"b", u'"').has_value());
}

}  // namespace
}  // namespace quillmere
