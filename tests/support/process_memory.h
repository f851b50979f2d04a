#pragma once

#include <cstddef>

namespace quillmere::test {

// The resident set of this process now, in bytes (from /proc/self/status); 0 when unknown.
std::size_t ResidentBytes();

// Tracks how far this process's resident set rises above where it stood when the watch began,
// however briefly: the kernel's high-water mark is reset at the start and read at the end.
class PeakMemoryWatch {
 public:
  PeakMemoryWatch();

  // False when the kernel refused to reset its mark; the growth then means nothing.
  bool valid() const { return valid_; }
  std::size_t growth() const;

 private:
  bool valid_ = false;
  std::size_t start_ = 0;
};

}  // namespace quillmere::test
