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

TEST(CodePage, FollowsTheWindowsTableAndSubstitutions) {
  EXPECT_EQ(DecodeCodePage("\x80", kCodePageGbk), u"\u20AC");
  EXPECT_EQ(EncodeCodePage(u"\u20AC", kCodePageGbk), "\x80");
  // Characters that code page 936 lacks become "?": an emoji (one surrogate pair) and Hangul.
  EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80"
                      "b\xEC\x95\x88"),
            "a?b?");
  // So do the invisible ones: soft hyphen, zero-width space, byte order mark, a lone surrogate.
  EXPECT_EQ(EncodeCodePage(u"a\u00ADb\u200Bc\uFEFFd\xD800", kCodePageGbk), "a?b?c?d?");
  // A byte that is not UTF-8 becomes U+FFFD, which code page 936 lacks.
  EXPECT_EQ(DecodeCodePage("a\xFF"
                           "b",
                           kCodePageUtf8),
            u"a\uFFFDb");
  EXPECT_EQ(DecodeCodePage("x", 1252), u"");
}

TEST(CodePage, EachThreadHasItsOwnConverter) {
  std::u16string onOtherThread;
  std::thread([&] { onOtherThread = DecodeCodePage("\xD6\xD0", kCodePageGbk); }).join();
  EXPECT_EQ(onOtherThread, u"中");
  EXPECT_EQ(DecodeCodePage("\xD6\xD0", kCodePageGbk), u"中");
}

}  // namespace
}  // namespace quillmere
