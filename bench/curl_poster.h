#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>
#include <vector>

namespace quillmere {

// Posts one form to one URL again and again through a single easy handle, so that libcurl keeps
// its connection between posts. Sends the header lines the translation request sends and the
// same 15-second time-out.
class CurlFormPoster {
 public:
  CurlFormPoster(std::string url, std::string form, std::vector<std::string> extraHeaderLines = {});
  // The handle points back at the poster, which therefore stays where it was made.
  CurlFormPoster(const CurlFormPoster&) = delete;
  CurlFormPoster& operator=(const CurlFormPoster&) = delete;

  // True when the exchange ended with status 200; `body()` then holds the answer's body.
  bool post();
  const std::string& body() const { return body_; }

 private:
  struct HandleCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
  };
  struct ListCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
  };

  static size_t appendBody(char* data, size_t size, size_t count, void* poster);

  std::string url_;
  std::string form_;
  std::string body_;
  std::unique_ptr<curl_slist, ListCleanup> headers_;
  std::unique_ptr<CURL, HandleCleanup> handle_;
};

}  // namespace quillmere
