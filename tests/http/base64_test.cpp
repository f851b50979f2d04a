#include "http/base64.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

TEST(Base64Encode, MatchesTheStandardVectors) {
  const struct {
    Text input, want;
  } cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
  };
  for (const auto& c : cases) {
    Bytes data = TextToBytes(c.input);
    EXPECT_EQ(Base64Encode(data), c.want) << c.input;
  }
}

TEST(Base64Encode, UsesTheWholeAlphabetOnHighBytes) {
  Bytes data = {0x00, 0x10, 0x83, 0x10, 0x51, 0x87, 0x20, 0x92, 0x8B, 0x30, 0xD3, 0x8F,
                0x41, 0x14, 0x93, 0x51, 0x55, 0x97, 0x61, 0x96, 0x9B, 0x71, 0xD7, 0x9F,
                0x82, 0x18, 0xA3, 0x92, 0x59, 0xA7, 0xA2, 0x9A, 0xAB, 0xB2, 0xDB, 0xAF,
                0xC3, 0x1C, 0xB3, 0xD3, 0x5D, 0xB7, 0xE3, 0x9E, 0xBB, 0xF3, 0xDF, 0xBF};
  EXPECT_EQ(Base64Encode(data), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
}

TEST(Base64Encode, PadsTheCallersArrayInPlace) {
  const struct {
    Bytes input;
    Text want;
    Bytes after;
  } cases[] = {
      {{'a'}, "YQ==", {'a', 0, 0}},
      {{'a', 'b'}, "YWI=", {'a', 'b', 0}},
      {{'a', 'b', 'c'}, "YWJj", {'a', 'b', 'c'}},
      {{'a', 'b', 'c', 'd'}, "YWJjZA==", {'a', 'b', 'c', 'd', 0, 0}},
      {{}, "", {}},
  };
  for (const auto& c : cases) {
    Bytes data = c.input;
    EXPECT_EQ(Base64Encode(data), c.want);
    EXPECT_EQ(data, c.after) << c.want;
  }
}

}  // namespace
}  // namespace quillmere
