#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

// Path of the translation service's endpoint, served by the loopback server at any path.
inline constexpr std::string_view kTranslatePath = "/api/trans/vip/translate";

// A translation answer as the service sends it: `entries` copies of one entry whose Chinese
// `dst` is written in \u escapes. One entry makes about a hundred bytes of JSON.
std::string translationAnswer(std::size_t entries);

// The form the translation request posts for `source` (UTF-8): appid, q percent-encoded byte by
// byte, from, to, salt and sign, in that order.
std::string translationForm(std::string_view source);

// The header lines the translation request adds to every POST, for `url`.
std::vector<std::string> translationHeaderLines(std::string_view url);

// The whole request as it goes over the wire to a loopback server on `port`.
std::string translationPostMessage(std::uint16_t port, std::string_view form);

}  // namespace quillmere
