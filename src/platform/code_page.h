#pragma once

#include <string>
#include <string_view>

namespace quillmere {

inline constexpr int kCodePageAnsi = 0;  // the system's ANSI code page, which is 936 here
inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageUtf8 = 65001;

// The three code pages above; the conversions give the empty result for any other.
bool IsSupportedCodePage(int codePage);

// Conversions with the results of the Windows code page functions called with flags 0:
// bytes invalid in the source code page become U+FFFD, characters missing from the
// target code page become "?", one for each UTF-16 unit. Code page 936 uses Windows' own
// table (0x80 is the euro sign) with its best-fit mappings. Each thread opens a converter
// once and keeps it.
std::u16string DecodeCodePage(std::string_view bytes, int codePage);
std::string EncodeCodePage(std::u16string_view units, int codePage);

// Code page 936 text to and from UTF-8, through UTF-16.
std::string GbkToUtf8(std::string_view text);
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace quillmere
