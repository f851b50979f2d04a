#pragma once

#include "support/server_thread.h"

#include <httplib.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillmere::test {

// A stand-in for the translation service on 127.0.0.1 that checks each request as the real
// service would (field order, percent-encoding, salt, signature) and answers in its style:
// JSON with non-ASCII characters as \uXXXX escapes, "/" as "\/", error codes as strings.
class FakeTranslationService {
 public:
  struct Request {
    std::string form{};
    std::vector<std::pair<std::string, std::string>> fields{};  // in the order sent
    std::string query{};                                        // q, decoded (UTF-8)
    std::string contentType{};
    std::vector<std::string> problems{};  // empty when the request is well formed and signed
  };
  // Returns the raw body of the answer.
  using Responder = std::function<std::string(const Request&)>;

  // Listens at a free port unless one is given.
  FakeTranslationService(std::string appId, std::string secretKey, int port = 0);
  FakeTranslationService(const FakeTranslationService&) = delete;
  FakeTranslationService& operator=(const FakeTranslationService&) = delete;

  std::string endpoint() const;  // empty when the port could not be had

  void answerWith(Responder responder);
  std::vector<Request> requests() const;
  // Drops the record of the requests seen so far, for a test that makes very many.
  void forgetRequests();

  // Answers in the service's own format, from UTF-8 texts.
  static std::string successAnswer(const std::string& from, const std::string& to,
                                   const std::vector<std::pair<std::string, std::string>>& srcDst);
  static std::string errorAnswer(const std::string& code, const std::string& message);
  // Translates a few known phrases word for word, as the real service would answer them.
  static std::string dictionaryAnswer(const Request& request);

 private:
  Request inspect(const std::string& form, const std::string& contentType) const;

  std::string appId_;
  std::string secretKey_;
  mutable std::mutex mutex_;
  Responder responder_;
  std::vector<Request> requests_;
  httplib::Server server_;
  std::optional<ServerThread> thread_;  // started once the routes are in place
};

}  // namespace quillmere::test
