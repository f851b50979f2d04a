#include "http/base64.h"

namespace quillmere {

Text Base64Encode(Bytes& data) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  if (data.empty()) return {};
  const std::size_t remainder = data.size() % 3;
  if (remainder > 0) data.resize(data.size() + 3 - remainder, 0);

  Text out;
  out.reserve(data.size() / 3 * 4);
  for (std::size_t i = 0; i < data.size(); i += 3) {
    const unsigned b1 = data[i];
    const unsigned b2 = data[i + 1];
    const unsigned b3 = data[i + 2];
    out += kAlphabet[b1 >> 2];
    out += kAlphabet[((b1 & 3) << 4) + (b2 >> 4)];
    out += kAlphabet[((b2 & 15) << 2) + (b3 >> 6)];
    out += kAlphabet[b3 & 63];
  }
  if (remainder == 1) out.replace(out.size() - 2, 2, "==");
  if (remainder == 2) out.back() = '=';
  return out;
}

}  // namespace quillmere
