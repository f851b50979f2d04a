#include "http/cookies.h"

#include "http/item_list.h"

#include <unordered_set>

namespace quillmere {
namespace {

constexpr std::string_view kDeletedSuffix = "=deleted";

}  // namespace

Text MergeCookies(Text& cookies, Text& newCookies) {
  cookies = RemoveSpaces(cookies);
  newCookies = RemoveSpaces(newCookies);
  const TextList oldList = SplitText(cookies, ";");
  TextList newList = SplitText(newCookies, ";");

  // The names in newList, kept as it grows, answer HasCookieName without a scan per item.
  std::unordered_set<Text> names;
  for (const Text& item : newList) names.insert(CookieName(item));
  for (const Text& item : oldList) {
    if (names.insert(CookieName(item)).second) newList.push_back(item);
  }

  cookies.clear();
  for (const Text& item : newList) {
    if (TextRight(item, TextLength(kDeletedSuffix)) == kDeletedSuffix) continue;
    cookies += item;
    cookies += "; ";
  }
  cookies = TextLeft(cookies, TextLength(cookies) - 2);
  cookies = RemoveDuplicateItems(cookies, "; ");
  return cookies;
}

Text CookieName(std::string_view item) {
  const int p = FindText(item, "=");
  return p == -1 ? TrimBoth(item) : TrimBoth(TextLeft(item, p - 1));
}

bool HasCookieName(const TextList& list, std::string_view name) {
  for (const Text& item : list) {
    if (CompareText(CookieName(item), name) == 0) return true;
  }
  return false;
}

}  // namespace quillmere
