#include "service_messages.h"

namespace quillmere {
namespace {

constexpr std::string_view kEntry =
    R"({"src":"get user name","dst":"\u83b7\u53d6\u7528\u6237\u540d"})";

constexpr std::string_view kAppId = "73920461158830247";
// The loopback server checks neither salt nor signature; these only give the form its size.
constexpr std::string_view kSalt = "31415";
constexpr std::string_view kSign = "0f6b2f3c9d1e4a5b8c7d6e5f4a3b2c1d";

bool holdsNonAscii(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte > 0x7F) return true;
  }
  return false;
}

std::string percentEncodeEveryByte(std::string_view bytes) {
  constexpr std::string_view kHex = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    encoded += '%';
    encoded += kHex[byte >> 4];
    encoded += kHex[byte & 0x0F];
  }
  return encoded;
}

}  // namespace

std::string translationAnswer(std::size_t entries) {
  std::string answer = R"({"from":"en","to":"zh","trans_result":[)";
  answer.reserve(answer.size() + entries * (kEntry.size() + 1) + 2);
  for (std::size_t i = 0; i < entries; ++i) {
    if (i > 0) answer += ',';
    answer += kEntry;
  }
  answer += "]}";
  return answer;
}

std::string translationForm(std::string_view source) {
  const bool fromChinese = holdsNonAscii(source);
  std::string form = "appid=";
  form += kAppId;
  form += "&q=";
  form += percentEncodeEveryByte(source);
  form += fromChinese ? "&from=zh&to=en" : "&from=en&to=zh";
  form += "&salt=";
  form += kSalt;
  form += "&sign=";
  form += kSign;
  return form;
}

std::vector<std::string> translationHeaderLines(std::string_view url) {
  return {
      "Accept: */*",
      "Referer: " + std::string(url),
      "Accept-Language: zh-cn",
      "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)",
      "Content-Type: application/x-www-form-urlencoded",
  };
}

std::string translationPostMessage(std::uint16_t port, std::string_view form) {
  const std::string host = "127.0.0.1:" + std::to_string(port);
  std::string message =
      "POST " + std::string(kTranslatePath) + " HTTP/1.1\r\nHost: " + host + "\r\n";
  for (const std::string& line :
       translationHeaderLines("http://" + host + std::string(kTranslatePath))) {
    message += line;
    message += "\r\n";
  }
  message += "Content-Length: " + std::to_string(form.size()) + "\r\n\r\n";
  message += form;
  return message;
}

}  // namespace quillmere
