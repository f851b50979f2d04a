#pragma once

#include <curl/curl.h>

#include <memory>

namespace quillmere {

struct EasyCleanup {
  void operator()(CURL* easy) const noexcept;
};
struct MultiCleanup {
  void operator()(CURLM* multi) const noexcept;
};
struct HeaderListCleanup {
  void operator()(curl_slist* list) const noexcept;
};

using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using MultiHandle = std::unique_ptr<CURLM, MultiCleanup>;

// A libcurl header list that appends in constant time: libcurl's own append walks the whole
// list each time, which would make a long header block quadratic.
class HeaderList {
 public:
  HeaderList() = default;
  HeaderList(HeaderList&& other) noexcept;
  HeaderList& operator=(HeaderList&& other) noexcept;

  // false (and the list unchanged) when libcurl cannot append.
  bool append(const char* line);
  curl_slist* get() const { return head_.get(); }

 private:
  std::unique_ptr<curl_slist, HeaderListCleanup> head_;
  curl_slist* tail_ = nullptr;
};

// A new easy handle once libcurl is set up; empty when libcurl cannot make one.
EasyHandle newEasyHandle();

}  // namespace quillmere
