#pragma once

#include "http/curl_handles.h"

#include <curl/curl.h>

namespace quillmere {

// A request object a caller can create, hand to several HttpRequest calls and release: it owns
// one libcurl easy handle. Each call starts from the handle's default settings, so nothing of
// one exchange's arguments carries over to the next. Use it from one thread at a time.
class RequestObject {
 public:
  // Holds a new handle, or none when libcurl cannot make one.
  RequestObject();

  RequestObject(RequestObject&&) noexcept = default;
  RequestObject& operator=(RequestObject&&) noexcept = default;
  RequestObject(const RequestObject&) = delete;
  RequestObject& operator=(const RequestObject&) = delete;
  ~RequestObject() = default;

  bool isEmpty() const;
  // Frees the handle; the object is empty afterwards.
  void release();
  CURL* handle() const;

 private:
  EasyHandle handle_;
};

}  // namespace quillmere
