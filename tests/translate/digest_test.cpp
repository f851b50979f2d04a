#include "translate/digest.h"

#include <gtest/gtest.h>

#include <string>

namespace quillmere {
namespace {

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct Vector {
  std::string message;
  Text md5;
};

// The test suite of RFC 1321.
const Vector kRfc1321[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

Text upper(Text s) { return UpperCase(s); }

TEST(Md5Hex, MatchesTheReferenceSuiteInEveryForm) {
  for (const Vector& v : kRfc1321) {
    EXPECT_EQ(Md5Hex(v.message), v.md5) << v.message;
    EXPECT_EQ(Md5Hex(v.message, false, true), upper(v.md5)) << v.message;
    EXPECT_EQ(Md5Hex(v.message, false, false, true), v.md5.substr(8, 16)) << v.message;
    EXPECT_EQ(Md5Hex(v.message, false, true, true), upper(v.md5.substr(8, 16))) << v.message;
    EXPECT_EQ(Md5BytesHex(bytesOf(v.message)), v.md5) << v.message;
    EXPECT_EQ(Md5BytesHex(bytesOf(v.message), true, true), upper(v.md5.substr(8, 16))) << v.message;
    EXPECT_EQ(HashBytesHex(bytesOf(v.message), kAlgorithmMd5, 16), upper(v.md5)) << v.message;
  }
}

TEST(Md5Hex, HashesTheUtf8FormOnRequest) {
  const Text zhong = "\xD6\xD0";
  EXPECT_EQ(Md5Hex(zhong, true), Md5Hex("\xE4\xB8\xAD"));
  EXPECT_NE(Md5Hex(zhong, true), Md5Hex(zhong));
  // ASCII is the same in both forms.
  EXPECT_EQ(Md5Hex("abc", true), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Md5BytesHex, HashesEveryByteIncludingZeros) {
  EXPECT_EQ(Md5BytesHex(Bytes{0}), "93b885adfe0da089cdf634904fd59f71");
  EXPECT_NE(Md5BytesHex(Bytes{'a', 0, 'b'}), Md5BytesHex(Bytes{'a'}));
}

TEST(MakeSign, SignsTheJoinedFieldsInUtf8) {
  // The service's own published example.
  EXPECT_EQ(MakeSign("2015063000000001", "apple", "1435660288", "12345678"),
            "f89f9594663708c1605f3d736d01d2d4");
  const Text query = "\xC4\xE3\xBA\xC3";  // 你好
  EXPECT_EQ(MakeSign("20150630", query, "10041", "key"), Md5Hex("20150630\xE4\xBD\xA0\xE5\xA5\xBD"
                                                                "10041key"));
}

TEST(HashBytesHex, MapsTheCryptoApiIdentifiers) {
  struct Case {
    unsigned algorithmId;
    int digestLength;
    std::string message;
    Text want;
  } cases[] = {
      {kAlgorithmSha1, 20, "abc", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
      {kAlgorithmSha1, 20, "", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"},
      {kAlgorithmSha256, 32, "abc",
       "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"},
      {kAlgorithmSha256, 32, "",
       "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855"},
      {kAlgorithmSha384, 48, "abc",
       "CB00753F45A35E8BB5A03D699AC65007272C32AB0EDED1631A8B605A43FF5BED"
       "8086072BA1E7CC2358BAECA134C825A7"},
      {kAlgorithmSha512, 64, "abc",
       "DDAF35A193617ABACC417349AE20413112E6FA4E89A97EA20A9EEEE64B55D39A"
       "2192992A274FC1A836BA3C23A3FEEBBD454D4423643CE80E2A9AC94FA54CA49F"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HashBytesHex(bytesOf(c.message), c.algorithmId, c.digestLength), c.want)
        << std::hex << c.algorithmId << " of \"" << c.message << '"';
  }
}

TEST(HashBytesHex, GivesDigitsForTheBytesBothLengthsAllow) {
  const Bytes abc = bytesOf("abc");
  const Text md5 = "900150983CD24FB0D6963F7D28E17F72";
  EXPECT_EQ(HashBytesHex(abc, kAlgorithmMd5, 4), md5.substr(0, 8));
  EXPECT_EQ(HashBytesHex(abc, kAlgorithmMd5, 20), md5);
  EXPECT_EQ(HashBytesHex(abc, kAlgorithmSha1, 16), "A9993E364706816ABA3E25717850C26C");
  EXPECT_EQ(HashBytesHex(abc, kAlgorithmMd5, 0), "");
  EXPECT_EQ(HashBytesHex(abc, kAlgorithmMd5, -16), "");
}

TEST(HashBytesHex, UnknownAlgorithmGivesEmptyText) {
  for (unsigned id : {0u, 0x8001u, 0x8002u, 0x800Bu, 0x800Fu, 0x6610u}) {
    EXPECT_EQ(HashBytesHex(bytesOf("abc"), id, 16), "") << std::hex << id;
  }
}

}  // namespace
}  // namespace quillmere
