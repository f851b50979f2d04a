#include "http/curl_handles.h"

#include "http/http_session.h"

namespace quillmere {

void EasyCleanup::operator()(CURL* easy) const noexcept { curl_easy_cleanup(easy); }

void MultiCleanup::operator()(CURLM* multi) const noexcept { curl_multi_cleanup(multi); }

void HeaderListCleanup::operator()(curl_slist* list) const noexcept { curl_slist_free_all(list); }

EasyHandle NewEasyHandle() {
  if (SharedConnections() == nullptr) return {};
  return EasyHandle(curl_easy_init());
}

bool AppendHeader(HeaderList& list, const char* line) {
  curl_slist* extended = curl_slist_append(list.get(), line);
  if (extended == nullptr) return false;
  list.release();
  list.reset(extended);
  return true;
}

}  // namespace quillmere
