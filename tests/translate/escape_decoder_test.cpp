#include "translate/escape_decoder.h"

#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace quillmere {
namespace {

Text gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

struct Case {
  Text text;
  Text decoded;
};

void expectDecodes(std::initializer_list<Case> cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeUnicodeEscapes(c.text), c.decoded) << c.text;
  }
}

TEST(DecodeUnicodeEscapes, ResolvesStringEscapes) {
  expectDecodes({
      {"", ""},
      {R"({"dst":"\u4f60\u597D","n":1})", gbk(R"({"dst":"你好","n":1})")},
      {R"(say \"hi\")", R"(say "hi")"},
      {R"(a\nb\rc\td)", "a\nb\rc\td"},
      {R"(\b\f\v)", "\b\f\v"},
      {R"(a\\b\/c)", R"(a\b/c)"},
      {R"(\x41\x4)", "Ax4"},
      {R"(\101\60)", "A0"},
      {R"(\0)", std::string(1, '\0')},
      {R"(\q\%\ )", "q% "},
      {gbk(R"(中\u6587)"), gbk("中文")},
  });
}

TEST(DecodeUnicodeEscapes, ResolvesPercentEscapes) {
  expectDecodes({
      {"%41%4a%4A", "AJJ"},
      {"%u0041%u4F60", gbk("A你")},
      {"%U0041", "%U0041"},
      {"% %4 %u004 %zz %u00zz", "% %4 %u004 %zz %u00zz"},
      {"100%", "100%"},
      {"%25u0041", "%u0041"},
  });
}

TEST(DecodeUnicodeEscapes, KeepsLineBreaksAndApostrophes) {
  expectDecodes({
      {"it's 'x'", "it's 'x'"},
      {"it\xA1\xAFs", "it's"},
      {"a\r\nb\r\n", "a\r\nb\r\n"},
      {"a{$}b", "a\r\nb"},
      {"\rab", "ab"},
      {"\r\nab", "\r\nab"},
      {"\r\r\nab", "\r\nab"},
  });
}

TEST(DecodeUnicodeEscapes, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  expectDecodes({
      {R"(a\ud83d\ude00b)", "a?b"},
      {R"(\ud83d)", "?"},
      {R"(\uac00)", "?"},
  });
}

// A text that no string literal can hold comes back as its bytes read as UTF-16: here the
// bytes 60 4F make U+4F60 and 61 5C make U+5C61.
TEST(DecodeUnicodeEscapes, RejectedLiteralFallsBackToReadingTheBytesAsUtf16) {
  expectDecodes({
      {"`O\n", gbk("你")},
      {"`Oa\\", gbk("你屡")},
      {"`Oa\rb", gbk("你") + "?"},
  });
}

TEST(Utf16BytesToText, ReadsLittleEndianUnits) {
  struct BytesCase {
    Bytes bytes;
    Text text;
  } cases[] = {
      {{}, ""},
      {{0x60, 0x4F, 0x7D, 0x59}, gbk("你好")},
      {{0x41, 0x00, 0x42}, "A"},
      {{0xFF, 0xFE, 0x41, 0x00}, "A"},
      {{0x41, 0x00, 0x00, 0xAC}, "A?"},
      {{0x3D, 0xD8, 0x00, 0xDE}, "?"},
      {{0x41}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf16BytesToText(c.bytes), c.text) << c.text;
}

}  // namespace
}  // namespace quillmere
