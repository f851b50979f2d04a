#include "http/request_object.h"

namespace quillmere {

RequestObject::RequestObject() : handle_(newEasyHandle()) {}

bool RequestObject::isEmpty() const { return handle_ == nullptr; }

void RequestObject::release() { handle_.reset(); }

CURL* RequestObject::handle() const { return handle_.get(); }

}  // namespace quillmere
