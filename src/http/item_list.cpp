#include "http/item_list.h"

#include <unordered_set>

namespace quillmere {

Text RemoveDuplicateItems(std::string_view text, std::string_view separator) {
  const TextList parts = SplitText(text, separator);
  // A set of the items kept stands in for a FindItem scan, which would make this quadratic.
  std::unordered_set<std::string_view> seen;
  Text result;
  result.reserve(text.size() + separator.size());
  for (const Text& part : parts) {
    if (seen.insert(part).second) {
      result += part;
      result += separator;
    }
  }
  return TextLeft(result, TextLength(result) - TextLength(separator));
}

int FindItem(const TextList& list, std::string_view item) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (CompareText(list[i], item) == 0) return static_cast<int>(i) + 1;
  }
  return -1;
}

}  // namespace quillmere
