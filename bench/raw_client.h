#pragma once

#include "unique_fd.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmere {

// A blocking TCP connection to 127.0.0.1:`port` with TCP_NODELAY; invalid when it failed.
UniqueFd connectLoopback(std::uint16_t port);

// Sends `request` whole and reads one response (head and Content-Length body) into `response`.
// True when a complete "200" response arrived and nothing beyond it.
bool rawExchange(int fd, std::string_view request, std::string& response);

}  // namespace quillmere
