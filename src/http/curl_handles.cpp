#include "http/curl_handles.h"

#include "http/http_session.h"

#include <utility>

namespace quillmere {

void EasyCleanup::operator()(CURL* easy) const noexcept {
  // Exchanges run without signals, and so does the clean-up: a handle reset to its defaults
  // would install and restore a SIGPIPE handler around it, three system calls per request.
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_cleanup(easy);
}

void MultiCleanup::operator()(CURLM* multi) const noexcept { curl_multi_cleanup(multi); }

void HeaderListCleanup::operator()(curl_slist* list) const noexcept { curl_slist_free_all(list); }

EasyHandle newEasyHandle() {
  if (sharedConnections() == nullptr) return {};
  return EasyHandle(curl_easy_init());
}

HeaderList::HeaderList(HeaderList&& other) noexcept
    : head_(std::move(other.head_)), tail_(std::exchange(other.tail_, nullptr)) {}

HeaderList& HeaderList::operator=(HeaderList&& other) noexcept {
  head_ = std::move(other.head_);
  tail_ = std::exchange(other.tail_, nullptr);
  return *this;
}

bool HeaderList::append(const char* line) {
  // Appending to the last node returns that node and links the new one after it.
  curl_slist* appended = curl_slist_append(tail_, line);
  if (appended == nullptr) return false;
  if (tail_ == nullptr) {
    head_.reset(appended);
    tail_ = appended;
  } else {
    tail_ = tail_->next;
  }
  return true;
}

}  // namespace quillmere
