#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

// A byte string in code page 936. The absent and the empty text are the same.
// Positions and lengths count bytes; positions start at 1.
using Text = std::string;
using Bytes = std::vector<std::uint8_t>;
// Indexed from 1 by the routines that take an index; the vector itself is 0-based.
using TextList = std::vector<Text>;

int TextLength(std::string_view t);
Text TextLeft(std::string_view t, int n);
Text TextRight(std::string_view t, int n);
Text TextMid(std::string_view t, int start, int n);

// Searches step over double-byte characters (a byte of 0x80 or more and the byte
// after it) as one unit, starting from `start`, so a match never begins on a byte
// the walk treats as a trail byte. Returns the 1-based position, or -1.
int FindText(std::string_view t, std::string_view sub, int start = 1, bool ignoreCase = false);

// `count` below 0 replaces every occurrence.
Text ReplaceText(std::string_view t, std::string_view find, std::string_view repl = {},
                 int start = 1, int count = -1, bool caseSensitive = true);

TextList SplitText(std::string_view t, std::string_view delim);

// A blank is the byte 0x20 or the full-width space 0xA1 0xA1.
Text TrimBoth(std::string_view t);
Text RemoveSpaces(std::string_view t);

// ASCII letters only; double-byte characters keep both bytes untouched.
Text UpperCase(std::string_view t);
Text LowerCase(std::string_view t);
// In-place forms standing in for the platform's CharUpperA / CharLowerA.
Text& CharUpper(Text& t);
Text& CharLower(Text& t);

// 0 when equal, otherwise the sign of the first differing unsigned byte (or of the lengths).
int CompareText(std::string_view a, std::string_view b);

Bytes TextToBytes(std::string_view t);
Text BytesToText(const Bytes& b);
Bytes BlankBytes(int n);
Text BlankText(int n);
Text HexText(std::uint64_t n);
Text NumberToText(long long n);
Text NumberToText(int n);
Text NumberToText(double x);

}  // namespace quillmere
