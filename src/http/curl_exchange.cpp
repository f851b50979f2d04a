#include "http/curl_exchange.h"

#include "http/curl_handles.h"

#include <algorithm>
#include <new>

namespace quillmere {
namespace {

// curl_multi_poll wakes at least this often even with nothing to wait for.
constexpr int kLongestPollMs = 1000;
// A body of unannounced length grows by doubling up to this size, then takes room for the
// whole cap at once: each doubling copies the body into a new block, and the blocks left behind
// may stay resident, so an oversized body would otherwise cost up to twice the cap before it is
// refused. Room that is reserved but not written costs no memory.
constexpr std::size_t kDoublingLimit = 1u << 20;

std::string_view withoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

// Every exchange of a thread runs on the thread's one multi handle: making a multi handle costs
// a socket pair, its flags and its closing each time, more than a kept-alive exchange itself.
// Exchanges on one thread never overlap, and each leaves the handle empty.
CURLM* threadMultiHandle() {
  thread_local const MultiHandle multi(curl_multi_init());
  return multi.get();
}

}  // namespace

CurlExchange::CurlExchange(CURL* easy, std::optional<std::chrono::milliseconds> idleLimit)
    : easy_(easy), idleLimit_(idleLimit) {
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlExchange::onBody);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlExchange::onHeader);
  curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy_, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(easy_, CURLOPT_XFERINFOFUNCTION, &CurlExchange::onProgress);
  curl_easy_setopt(easy_, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(easy_, CURLOPT_PREREQFUNCTION, &CurlExchange::onConnectionReady);
  curl_easy_setopt(easy_, CURLOPT_PREREQDATA, this);
  // Refuses an announced oversized body before any of it arrives; addBody catches the rest.
  curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxBodyBytes));
}

void CurlExchange::prepareThread() { threadMultiHandle(); }

// The easy handle is driven through a multi handle rather than curl_easy_perform,
// whose loop looks at a quiet connection on its own one-second rhythm, so the idle limit could
// run late by up to a second: here each wait ends when the limit runs out, and the progress
// callback enforces it to the millisecond.
bool CurlExchange::perform() {
  CURLM* multi = threadMultiHandle();
  if (multi == nullptr || curl_multi_add_handle(multi, easy_) != CURLM_OK) return false;
  lastProgress_ = Clock::now();
  int running = 1;
  while (running > 0) {
    if (curl_multi_perform(multi, &running) != CURLM_OK) break;
    if (running > 0 && curl_multi_poll(multi, nullptr, 0, pollTimeoutMs(), nullptr) != CURLM_OK) {
      break;
    }
  }
  CURLcode result = CURLE_FAILED_INIT;
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
    if (message->msg == CURLMSG_DONE) result = message->data.result;
  }
  curl_multi_remove_handle(multi, easy_);
  return result == CURLE_OK;
}

std::size_t CurlExchange::onBody(char* data, std::size_t size, std::size_t count, void* exchange) {
  const std::size_t length = size * count;
  return static_cast<CurlExchange*>(exchange)->addBody(data, length) ? length : 0;
}

std::size_t CurlExchange::onHeader(char* data, std::size_t size, std::size_t count,
                                   void* exchange) {
  const std::size_t length = size * count;
  return static_cast<CurlExchange*>(exchange)->addHeaderLine({data, length}) ? length : 0;
}

int CurlExchange::onProgress(void* exchange, curl_off_t, curl_off_t downloaded, curl_off_t,
                             curl_off_t uploaded) {
  auto& self = *static_cast<CurlExchange*>(exchange);
  if (downloaded != self.downloaded_ || uploaded != self.uploaded_) {
    self.downloaded_ = downloaded;
    self.uploaded_ = uploaded;
    self.markProgress();
  }
  return self.idleTooLong(Clock::now()) ? 1 : 0;
}

int CurlExchange::onConnectionReady(void* exchange, char*, char*, int, int) {
  auto& self = *static_cast<CurlExchange*>(exchange);
  self.connected_ = true;
  self.markProgress();
  return CURL_PREREQFUNC_OK;
}

bool CurlExchange::addBody(const char* data, std::size_t length) {
  markProgress();
  if (length > kMaxBodyBytes - body_.size()) return false;
  try {
    reserveBody(body_.size() + length);
    body_.insert(body_.end(), data, data + length);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void CurlExchange::reserveBody(std::size_t size) {
  if (size <= body_.capacity()) return;
  curl_off_t announced = -1;
  curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
  if (announced >= 0 && static_cast<std::size_t>(announced) >= size &&
      static_cast<std::size_t>(announced) <= kMaxBodyBytes) {
    body_.reserve(static_cast<std::size_t>(announced));
  } else if (size > kDoublingLimit) {
    body_.reserve(kMaxBodyBytes);
  }
}

bool CurlExchange::addHeaderLine(std::string_view line) {
  markProgress();
  headerBytes_ += line.size();
  if (headerBytes_ > kMaxHeaderBytes) return false;
  line = withoutLineEnd(line);
  // Each response of a redirect chain, and each interim response, starts with its status
  // line: only the headers of the last one are kept.
  if (line.starts_with("HTTP/")) {
    responseHeaders_.clear();
    return true;
  }
  if (line.empty()) return true;
  try {
    responseHeaders_.append(line).append("\r\n");
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool CurlExchange::idleTooLong(Clock::time_point now) const {
  return idleLimit_ && connected_ && now - lastProgress_ >= *idleLimit_;
}

int CurlExchange::pollTimeoutMs() const {
  if (!idleLimit_ || !connected_) return kLongestPollMs;
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(lastProgress_ + *idleLimit_ - Clock::now());
  return static_cast<int>(std::clamp<long long>(left.count(), 0, kLongestPollMs));
}

}  // namespace quillmere
