#include "support/fake_translation_service.h"

#include <nlohmann/json.hpp>
#include <openssl/evp.h>

#include <cstdio>
#include <map>

namespace quillmere::test {
namespace {

constexpr char kPath[] = "/api/trans/vip/translate";
const char* const kFieldOrder[] = {"appid", "q", "from", "to", "salt", "sign"};

std::string md5Hex(const std::string& data) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(data.data(), data.size(), digest, &length, EVP_md5(), nullptr);
  std::string hex;
  char two[3];
  for (unsigned i = 0; i < length; ++i) {
    std::snprintf(two, sizeof two, "%02x", digest[i]);
    hex += two;
  }
  return hex;
}

bool isUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// Decodes a value in which every byte must be written as "%" and two upper-case digits.
bool decodeEveryByteEncoded(const std::string& value, std::string& decoded) {
  if (value.size() % 3 != 0) return false;
  for (std::size_t i = 0; i < value.size(); i += 3) {
    if (value[i] != '%' || !isUpperHex(value[i + 1]) || !isUpperHex(value[i + 2])) return false;
    decoded += static_cast<char>(std::stoi(value.substr(i + 1, 2), nullptr, 16));
  }
  return true;
}

bool allDigits(const std::string& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// The service escapes every non-ASCII character as \uXXXX and writes "/" as "\/".
std::string serviceStyle(const nlohmann::json& answer) {
  const std::string compact = answer.dump(-1, ' ', true);
  std::string out;
  for (char c : compact) {
    if (c == '/') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

FakeTranslationService::FakeTranslationService(std::string appId, std::string secretKey, int port)
    : appId_(std::move(appId)),
      secretKey_(std::move(secretKey)),
      responder_(&FakeTranslationService::dictionaryAnswer) {
  // The handler reads the form itself: httplib refuses a form over 8 KiB when it reads one for
  // a handler, while the service takes long texts.
  server_.Post(kPath, [this](const httplib::Request& req, httplib::Response& res,
                             const httplib::ContentReader& contentReader) {
    std::string form;
    contentReader([&form](const char* data, std::size_t length) {
      form.append(data, length);
      return true;
    });
    Request request = inspect(form, req.get_header_value("Content-Type"));
    Responder responder;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
      responder = responder_;
    }
    res.set_content(responder(request), "application/json");
  });
  thread_.emplace(server_, "http", port);
}

std::string FakeTranslationService::endpoint() const {
  return thread_->port() > 0 ? thread_->url(kPath) : std::string();
}

void FakeTranslationService::answerWith(Responder responder) {
  std::lock_guard lock(mutex_);
  responder_ = std::move(responder);
}

std::vector<FakeTranslationService::Request> FakeTranslationService::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void FakeTranslationService::forgetRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

FakeTranslationService::Request FakeTranslationService::inspect(
    const std::string& form, const std::string& contentType) const {
  Request request;
  request.form = form;
  request.contentType = contentType;
  std::size_t begin = 0;
  while (begin <= form.size()) {
    const std::size_t end = std::min(form.find('&', begin), form.size());
    const std::string field = form.substr(begin, end - begin);
    const std::size_t equals = field.find('=');
    if (equals == std::string::npos) {
      request.problems.push_back("field without '=': " + field);
    } else {
      request.fields.emplace_back(field.substr(0, equals), field.substr(equals + 1));
    }
    begin = end + 1;
  }
  if (request.fields.size() != std::size(kFieldOrder)) {
    request.problems.push_back("expected six fields");
    return request;
  }
  for (std::size_t i = 0; i < request.fields.size(); ++i) {
    if (request.fields[i].first != kFieldOrder[i]) {
      request.problems.push_back(std::string("field ") + kFieldOrder[i] + " out of place");
    }
  }
  const auto& value = [&](std::size_t i) { return request.fields[i].second; };
  if (value(0) != appId_) request.problems.push_back("unknown appid");
  if (!decodeEveryByteEncoded(value(1), request.query)) {
    request.problems.push_back("q not percent-encoded byte by byte");
  }
  const bool zhEn = value(2) == "zh" && value(3) == "en";
  const bool enZh = value(2) == "en" && value(3) == "zh";
  if (!zhEn && !enZh) request.problems.push_back("unknown direction");
  if (!allDigits(value(4))) request.problems.push_back("salt not decimal");
  if (value(5) != md5Hex(appId_ + request.query + value(4) + secretKey_)) {
    request.problems.push_back("bad signature");
  }
  return request;
}

std::string FakeTranslationService::successAnswer(
    const std::string& from, const std::string& to,
    const std::vector<std::pair<std::string, std::string>>& srcDst) {
  nlohmann::json entries = nlohmann::json::array();
  for (const auto& [src, dst] : srcDst) entries.push_back({{"src", src}, {"dst", dst}});
  return serviceStyle({{"from", from}, {"to", to}, {"trans_result", entries}});
}

std::string FakeTranslationService::errorAnswer(const std::string& code,
                                                const std::string& message) {
  return serviceStyle({{"error_code", code}, {"error_msg", message}});
}

std::string FakeTranslationService::dictionaryAnswer(const Request& request) {
  if (!request.problems.empty()) return errorAnswer("54001", "Invalid Sign");
  static const std::map<std::string, std::string> kDictionary = {
      {"获取用户名", "get user name"},
      {"get user name", "获取用户名"},
      {"用户", "user"},
      {"user", "用户"},
      {"统一资源定位符", "the URL"},
      {"hello", "你好"},
  };
  const auto found = kDictionary.find(request.query);
  const std::string dst = found == kDictionary.end() ? request.query : found->second;
  const auto& fields = request.fields;
  return successAnswer(fields[2].second, fields[3].second, {{request.query, dst}});
}

}  // namespace quillmere::test
