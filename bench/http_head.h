#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillmere {

// Length of a message's head up to and including the blank line that ends it; nullopt while
// that line has not arrived.
std::optional<std::size_t> headLength(std::string_view message);

// The value of the first header line named `name` (letter case ignored), blanks trimmed.
std::optional<std::string_view> headerValue(std::string_view head, std::string_view name);

// The Content-Length of a head: 0 when absent, nullopt when it is not a plain decimal number.
std::optional<std::size_t> contentLength(std::string_view head);

}  // namespace quillmere
