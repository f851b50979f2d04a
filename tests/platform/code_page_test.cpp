#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <thread>

namespace quillmere {
namespace {

TEST(CodePage, ConvertsBetweenGbkUtf16AndUtf8) {
  EXPECT_EQ(DecodeCodePage("\xC4\xE3\xBA\xC3", kCodePageGbk), u"你好");
  EXPECT_EQ(EncodeCodePage(u"你好", kCodePageGbk), "\xC4\xE3\xBA\xC3");
  EXPECT_EQ(EncodeCodePage(u"你好", kCodePageAnsi), "\xC4\xE3\xBA\xC3");
  EXPECT_EQ(GbkToUtf8("\xC4\xE3\xBA\xC3 ok"), "\xE4\xBD\xA0\xE5\xA5\xBD ok");
  EXPECT_EQ(Utf8ToGbk("\xE4\xBD\xA0\xE5\xA5\xBD ok"), "\xC4\xE3\xBA\xC3 ok");
  EXPECT_EQ(DecodeCodePage("", kCodePageGbk), u"");
  EXPECT_EQ(EncodeCodePage(u"", kCodePageUtf8), "");
}

TEST(CodePage, AsciiTextConvertsAsTheConvertersConvertIt) {
  std::string ascii;
  for (int c = 0; c < 0x80; ++c) ascii += static_cast<char>(c);
  EXPECT_EQ(GbkToUtf8(ascii), EncodeCodePage(DecodeCodePage(ascii, kCodePageGbk), kCodePageUtf8));
  EXPECT_EQ(Utf8ToGbk(ascii), EncodeCodePage(DecodeCodePage(ascii, kCodePageUtf8), kCodePageGbk));
  EXPECT_EQ(GbkToUtf8(ascii), ascii);
  // One byte beyond ASCII makes the whole text go through the converters.
  EXPECT_EQ(GbkToUtf8(ascii + "\x80"), ascii + "\xE2\x82\xAC");
  EXPECT_EQ(Utf8ToGbk(ascii + "\xFF"), ascii + "?");
}

TEST(CodePage, FollowsTheWindowsTableAndSubstitutions) {
  EXPECT_EQ(DecodeCodePage("\x80", kCodePageGbk), u"\u20AC");
  EXPECT_EQ(EncodeCodePage(u"\u20AC", kCodePageGbk), "\x80");
  // Characters that code page 936 lacks become one "?" each: an emoji (a surrogate pair),
  // Hangul, a lone surrogate, the byte-order mark.
  EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80"
                      "b\xEC\x95\x88"),
            "a?b?");
  EXPECT_EQ(EncodeCodePage(u"a\uFEFFb", kCodePageGbk), "a?b");
  EXPECT_EQ(EncodeCodePage(u"\xD800-\xDC00", kCodePageGbk), "?-?");
  // So does the zero-width space; the soft hyphen has a best-fit mapping to "-".
  EXPECT_EQ(EncodeCodePage(u"a\u00ADb\u200Bc", kCodePageGbk), "a-b?c");
  // A byte that is not UTF-8 becomes U+FFFD, which code page 936 lacks.
  EXPECT_EQ(DecodeCodePage("a\xFF"
                           "b",
                           kCodePageUtf8),
            u"a\uFFFDb");
  EXPECT_EQ(DecodeCodePage("x", 1252), u"");
  EXPECT_FALSE(IsSupportedCodePage(1252));
  EXPECT_TRUE(IsSupportedCodePage(kCodePageAnsi));
}

TEST(CodePage, AppliesTheWindowsBestFitMappingsTowardGbk) {
  struct Case {
    std::u16string units;
    std::string gbk;
  } cases[] = {
      {u"m\u00B2", "m2"},                     // superscript two
      {u"\u00C0", "\xA8\xA4"},                // A with grave becomes the pinyin letter
      {u"\u00A6", "|"},                       // broken bar
      {u"\u3280", "\xD2\xBB"},                // circled ideograph one becomes the ideograph
      {u"\u00B7\u2014", "\xA1\xA4\xA1\xAA"},  // round-trip mappings stay as they are
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeCodePage(c.units, kCodePageGbk), c.gbk);
  }
  // Best fit works one way only: the bytes still read back as the exact character.
  EXPECT_EQ(DecodeCodePage("\xA8\xA4", kCodePageGbk), u"\u00E0");
}

TEST(CodePage, ReplacesInvalidUtf8AsWindowsDoes) {
  // The results Windows 10 gives for these bytes.
  struct Case {
    std::string utf8;
    std::u16string units;
  } cases[] = {
      {"\xC0\xC0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"\xE0\xC0", u"\uFFFD\uFFFD"},
      {"\xE0\x20\xC0", u"\uFFFD \uFFFD"},
      {"\x82\xA0\x82\xA2\x82", std::u16string(5, u'\uFFFD')},
      {"\xE6", u"\uFFFD"},
      {"\xF8\xA3\xA3\xA3\xA3", std::u16string(5, u'\uFFFD')},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeCodePage(c.utf8, kCodePageUtf8), c.units);
  }
  // Toward UTF-8 a lone surrogate becomes U+FFFD.
  EXPECT_EQ(EncodeCodePage(u"\xDFFF\xDBFF-", kCodePageUtf8), "\xEF\xBF\xBD\xEF\xBF\xBD-");
}

TEST(CodePage, EachThreadHasItsOwnConverter) {
  std::u16string onOtherThread;
  std::thread([&] { onOtherThread = DecodeCodePage("\xD6\xD0", kCodePageGbk); }).join();
  EXPECT_EQ(onOtherThread, u"中");
  EXPECT_EQ(DecodeCodePage("\xD6\xD0", kCodePageGbk), u"中");
}

}  // namespace
}  // namespace quillmere
