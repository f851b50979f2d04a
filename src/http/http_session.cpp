#include "http/http_session.h"

#include "http/curl_exchange.h"
#include "http/http_request.h"

#include <array>
#include <mutex>

namespace quillmere {
namespace {

// Owns libcurl's global state and the share for the life of the process.
class HttpSession {
 public:
  HttpSession() {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return;
    globalReady_ = true;
    share_ = curl_share_init();
    if (share_ == nullptr) return;
    const bool configured =
        curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &HttpSession::lock) == CURLSHE_OK &&
        curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &HttpSession::unlock) == CURLSHE_OK &&
        curl_share_setopt(share_, CURLSHOPT_USERDATA, this) == CURLSHE_OK &&
        curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT) == CURLSHE_OK &&
        curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS) == CURLSHE_OK;
    if (!configured) {
      curl_share_cleanup(share_);
      share_ = nullptr;
    }
  }

  ~HttpSession() {
    // A handle still attached keeps the share in use; libcurl's globals must then stay too.
    if (share_ != nullptr && curl_share_cleanup(share_) != CURLSHE_OK) return;
    if (globalReady_) curl_global_cleanup();
  }

  HttpSession(const HttpSession&) = delete;
  HttpSession& operator=(const HttpSession&) = delete;

  CURLSH* share() const { return share_; }

 private:
  static void lock(CURL*, curl_lock_data data, curl_lock_access, void* session) {
    static_cast<HttpSession*>(session)->mutexFor(data).lock();
  }

  static void unlock(CURL*, curl_lock_data data, void* session) {
    static_cast<HttpSession*>(session)->mutexFor(data).unlock();
  }

  std::mutex& mutexFor(curl_lock_data data) {
    const auto index = static_cast<std::size_t>(data);
    return mutexes_[index < mutexes_.size() ? index : 0];
  }

  bool globalReady_ = false;
  CURLSH* share_ = nullptr;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes_;
};

HttpSession& session() {
  static HttpSession instance;
  return instance;
}

}  // namespace

void InitializeHttp() {
  if (session().share() != nullptr) CurlExchange::prepareThread();
}

CURLSH* sharedConnections() { return session().share(); }

}  // namespace quillmere
