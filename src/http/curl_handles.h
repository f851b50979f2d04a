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
using HeaderList = std::unique_ptr<curl_slist, HeaderListCleanup>;

// A new easy handle once libcurl is set up; empty when libcurl cannot make one.
EasyHandle NewEasyHandle();

// Appends one line to `list`; false (and `list` unchanged) when libcurl cannot.
bool AppendHeader(HeaderList& list, const char* line);

}  // namespace quillmere
