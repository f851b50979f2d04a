#include "translate/digest.h"

#include "translate/codecs.h"

#include <openssl/evp.h>

#include <algorithm>
#include <memory>
#include <span>

namespace quillmere {
namespace {

struct DigestFree {
  void operator()(EVP_MD* md) const { EVP_MD_free(md); }
};
struct DigestContextFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Digest = std::unique_ptr<EVP_MD, DigestFree>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, DigestContextFree>;

constexpr int kMd5Length = 16;

// Fetched once: an implicit fetch on every hash would cost more than the hash itself.
struct Digests {
  Digest md5{EVP_MD_fetch(nullptr, "MD5", nullptr)};
  Digest sha1{EVP_MD_fetch(nullptr, "SHA1", nullptr)};
  Digest sha256{EVP_MD_fetch(nullptr, "SHA256", nullptr)};
  Digest sha384{EVP_MD_fetch(nullptr, "SHA384", nullptr)};
  Digest sha512{EVP_MD_fetch(nullptr, "SHA512", nullptr)};
};

const EVP_MD* digestFor(unsigned algorithmId) {
  static const Digests digests;
  switch (algorithmId) {
    case kAlgorithmMd5:
      return digests.md5.get();
    case kAlgorithmSha1:
      return digests.sha1.get();
    case kAlgorithmSha256:
      return digests.sha256.get();
    case kAlgorithmSha384:
      return digests.sha384.get();
    case kAlgorithmSha512:
      return digests.sha512.get();
    default:
      return nullptr;
  }
}

std::span<const std::uint8_t> asBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

Text hashHex(std::span<const std::uint8_t> data, unsigned algorithmId, int digestLength) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const EVP_MD* md = digestFor(algorithmId);
  if (md == nullptr || digestLength <= 0) return {};
  const DigestContext context(EVP_MD_CTX_new());
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (context == nullptr || EVP_DigestInit_ex2(context.get(), md, nullptr) != 1 ||
      EVP_DigestUpdate(context.get(), data.data(), data.size()) != 1 ||
      EVP_DigestFinal_ex(context.get(), digest, &size) != 1) {
    return {};
  }
  const std::size_t kept = std::min<std::size_t>(size, static_cast<std::size_t>(digestLength));
  Text hex(2 * kept, '\0');
  for (std::size_t i = 0; i < kept; ++i) {
    hex[2 * i] = kDigits[digest[i] >> 4];
    hex[2 * i + 1] = kDigits[digest[i] & 0xF];
  }
  return hex;
}

Text md5Finish(Text hex, bool upperCase, bool short16) {
  if (!upperCase) CharLower(hex);
  if (short16) return TextMid(hex, 9, 16);
  return hex;
}

}  // namespace

Text MakeSign(std::string_view identifier, std::string_view query, std::string_view salt,
              std::string_view key) {
  Text joined;
  joined.reserve(identifier.size() + query.size() + salt.size() + key.size());
  joined.append(identifier).append(query).append(salt).append(key);
  return Md5Hex(joined, true);
}

Text Md5Hex(std::string_view text, bool asUtf8, bool upperCase, bool short16) {
  const Text utf8 = asUtf8 ? AnsiToUtf8(text) : Text{};
  const std::string_view data = asUtf8 ? std::string_view(utf8) : text;
  return md5Finish(hashHex(asBytes(data), kAlgorithmMd5, kMd5Length), upperCase, short16);
}

Text Md5BytesHex(const Bytes& data, bool upperCase, bool short16) {
  return md5Finish(HashBytesHex(data, kAlgorithmMd5, kMd5Length), upperCase, short16);
}

Text HashBytesHex(const Bytes& data, unsigned algorithmId, int digestLength) {
  return hashHex(data, algorithmId, digestLength);
}

}  // namespace quillmere
