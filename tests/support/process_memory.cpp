#include "support/process_memory.h"

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace quillmere::test {
namespace {

// A "Name:   1234 kB" line of /proc/self/status, in bytes.
std::size_t statusBytes(std::string_view name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (!line.starts_with(name) || line.size() <= name.size() || line[name.size()] != ':') {
      continue;
    }
    std::istringstream fields(line.substr(name.size() + 1));
    std::size_t kib = 0;
    fields >> kib;
    return kib * 1024;
  }
  return 0;
}

// Writing 5 to clear_refs sets the high-water mark back to the present resident size.
bool resetPeak() {
  std::ofstream clearRefs("/proc/self/clear_refs");
  clearRefs << "5";
  clearRefs.flush();
  return clearRefs.good();
}

}  // namespace

std::size_t ResidentBytes() { return statusBytes("VmRSS"); }

PeakMemoryWatch::PeakMemoryWatch() : valid_(resetPeak()), start_(ResidentBytes()) {}

std::size_t PeakMemoryWatch::growth() const {
  const std::size_t peak = statusBytes("VmHWM");
  return peak > start_ ? peak - start_ : 0;
}

}  // namespace quillmere::test
