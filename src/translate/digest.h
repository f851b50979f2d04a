#pragma once

#include "platform/text.h"

#include <string_view>

namespace quillmere {

// CryptoAPI algorithm identifiers that HashBytesHex understands.
inline constexpr unsigned kAlgorithmMd5 = 0x8003;
inline constexpr unsigned kAlgorithmSha1 = 0x8004;
inline constexpr unsigned kAlgorithmSha256 = 0x800C;
inline constexpr unsigned kAlgorithmSha384 = 0x800D;
inline constexpr unsigned kAlgorithmSha512 = 0x800E;

// The request signature: the lower-case MD5 of the UTF-8 form of the four texts joined.
Text MakeSign(std::string_view identifier, std::string_view query, std::string_view salt,
              std::string_view key);

// MD5 of the text's bytes (of its UTF-8 form with `asUtf8`) as 32 hexadecimal digits,
// lower case unless `upperCase`; `short16` keeps the 9th to 24th digits. Empty on failure.
Text Md5Hex(std::string_view text, bool asUtf8 = false, bool upperCase = false,
            bool short16 = false);
Text Md5BytesHex(const Bytes& data, bool upperCase = false, bool short16 = false);

// The digest named by a CryptoAPI identifier, as upper-case hexadecimal digits of at most
// `digestLength` bytes. Empty for an unknown identifier or on failure.
Text HashBytesHex(const Bytes& data, unsigned algorithmId, int digestLength);

}  // namespace quillmere
