#pragma once

#include "platform/text.h"

#include <memory>
#include <string_view>

namespace quillmere {

// One regular expression run once over one subject, and questions about the result.
// Patterns use the syntax of the script engines' regular expressions (ECMAScript 3rd
// edition with the usual web extensions); matching runs on the subject's UTF-16 form, so
// a double-byte character is one character and offsets count UTF-16 units.
//
// A copy shares the compiled pattern and the matches. All texts are code page 936.
class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  RegexObject(const RegexObject& other);
  RegexObject& operator=(const RegexObject& other);

  // Compiles `pattern` and finds its matches in `subject`: every match when `global`, else
  // the first. Letter case is ignored unless `caseSensitive`; with `multiline`, "^" and "$"
  // also match at line breaks. With `quoteEscape`, each "#引号" in the pattern stands for a
  // double quote. False when the pattern is rejected or the search fails (it ran out of
  // time or backtracking memory); nothing of an earlier Create survives either way.
  bool Create(std::string_view pattern, std::string_view subject, bool caseSensitive = false,
              bool multiline = true, bool global = true, bool quoteEscape = false);
  // Holds the place of the component's operation without a name; does nothing.
  void NoOperation();
  // The pattern of the last Create (after the quote marker is resolved); empty before it.
  Text GetPattern() const;
  // The subject with each match replaced. In `replacement`, $1..$99 stand for a group's
  // text, $& for the match, $` and $' for the text before and after it, $$ for "$".
  // Empty when the last Create failed.
  Text Replace(std::string_view replacement = {}) const;
  int MatchCount() const;
  // `index` counts from 1. `position`, when given, receives the match's 0-based byte offset
  // in the subject; for an index outside the matches the text is empty and `position` is 0
  // for a non-empty subject, -2 for an empty one.
  Text MatchText(int index, int* position = nullptr) const;
  // Both indexes count from 1. A group that took no part in the match gives the empty text,
  // and `position` then as for an index outside the matches.
  Text SubMatchText(int matchIndex, int subIndex, int* position = nullptr) const;
  // The number of capture groups of the first match; 0 when nothing matched.
  int SubMatchCount() const;

 private:
  struct Search;
  std::shared_ptr<const Search> lastSearch;
};

}  // namespace quillmere
