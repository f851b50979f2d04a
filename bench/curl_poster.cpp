#include "curl_poster.h"

#include "service_messages.h"

namespace quillmere {

CurlFormPoster::CurlFormPoster(std::string url, std::string form,
                               std::vector<std::string> extraHeaderLines)
    : url_(std::move(url)), form_(std::move(form)), handle_(curl_easy_init()) {
  std::vector<std::string> lines = translationHeaderLines(url_);
  lines.insert(lines.end(), extraHeaderLines.begin(), extraHeaderLines.end());
  curl_slist* list = nullptr;
  for (const std::string& line : lines) {
    curl_slist* extended = curl_slist_append(list, line.c_str());
    if (extended == nullptr) {
      curl_slist_free_all(list);
      handle_.reset();
      return;
    }
    list = extended;
  }
  headers_.reset(list);
  if (!handle_) return;
  CURL* handle = handle_.get();
  curl_easy_setopt(handle, CURLOPT_URL, url_.c_str());
  curl_easy_setopt(handle, CURLOPT_POSTFIELDS, form_.data());
  curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(form_.size()));
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers_.get());
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, 15000L);
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &CurlFormPoster::appendBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, this);
}

bool CurlFormPoster::post() {
  body_.clear();
  if (!handle_ || curl_easy_perform(handle_.get()) != CURLE_OK) return false;
  long status = 0;
  curl_easy_getinfo(handle_.get(), CURLINFO_RESPONSE_CODE, &status);
  return status == 200;
}

size_t CurlFormPoster::appendBody(char* data, size_t size, size_t count, void* poster) {
  static_cast<CurlFormPoster*>(poster)->body_.append(data, size * count);
  return size * count;
}

}  // namespace quillmere
