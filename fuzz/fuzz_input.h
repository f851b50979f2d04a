#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillmere::fuzz {

// Cuts a fuzzer's input at NUL bytes into exactly `parts` texts (missing ones are empty;
// the last takes the rest, NULs included).
inline std::vector<std::string_view> SplitInput(const std::uint8_t* data, std::size_t size,
                                                std::size_t parts) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> pieces;
  while (pieces.size() + 1 < parts) {
    const std::size_t nul = rest.find('\0');
    pieces.push_back(rest.substr(0, nul));
    rest = nul == std::string_view::npos ? std::string_view{} : rest.substr(nul + 1);
  }
  pieces.push_back(rest);
  return pieces;
}

}  // namespace quillmere::fuzz
