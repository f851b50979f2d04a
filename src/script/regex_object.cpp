#include "script/regex_object.h"

#include "platform/code_page.h"
#include "script/string_literal.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace quillmere {
namespace {

// "#引号" in code page 936.
constexpr std::string_view kQuoteMarker = "#\xD2\xFD\xBA\xC5";

// One search may take this long in all, however many matches it finds; past it the search
// fails instead of freezing the window.
constexpr std::chrono::milliseconds kSearchTimeLimit{1000};
// Heap that one search may use to remember backtracking points.
constexpr std::int32_t kBacktrackLimitBytes = 8 * 1024 * 1024;
// Compiled patterns kept per thread; the program itself uses two.
constexpr std::size_t kPatternCacheSize = 8;

// The pieces of ICU syntax that spell out the script engines' meaning. Their line
// terminators are LF, CR, U+2028 and U+2029 only; their word characters are ASCII.
constexpr std::u16string_view kLineStart = u"(?<![^\\x{A}\\x{D}\\x{2028}\\x{2029}])";
constexpr std::u16string_view kLineEnd = u"(?![^\\x{A}\\x{D}\\x{2028}\\x{2029}])";
constexpr std::u16string_view kInputStart = u"\\A";
constexpr std::u16string_view kInputEnd = u"\\z";
constexpr std::u16string_view kAnyButLineTerminator = u"[^\\x{A}\\x{D}\\x{2028}\\x{2029}]";
constexpr std::u16string_view kAnything = u"[\\x{0}-\\x{10FFFF}]";
constexpr std::u16string_view kNothing = u"[^\\x{0}-\\x{10FFFF}]";
// Letter case plays no part in telling word characters from others.
constexpr std::u16string_view kWordBoundary =
    u"(?-i:(?<=[A-Za-z0-9_])(?![A-Za-z0-9_])|(?<![A-Za-z0-9_])(?=[A-Za-z0-9_]))";
constexpr std::u16string_view kNotWordBoundary =
    u"(?-i:(?<=[A-Za-z0-9_])(?=[A-Za-z0-9_])|(?<![A-Za-z0-9_])(?![A-Za-z0-9_]))";
// Contents of the classes \d, \w and \s, to go between brackets. White space is the
// engines' own short class (space, TAB, LF, VT, FF, CR), not Unicode's.
constexpr std::u16string_view kDigitClass = u"0-9";
constexpr std::u16string_view kWordClass = u"A-Za-z0-9_";
constexpr std::u16string_view kSpaceClass = u"\\x{9}\\x{A}\\x{B}\\x{C}\\x{D}\\x{20}";

struct ClassEscape {
  std::u16string_view members;
  bool negated;
};

std::optional<ClassEscape> classEscape(char16_t letter) {
  switch (letter) {
    case u'd':
      return ClassEscape{kDigitClass, false};
    case u'D':
      return ClassEscape{kDigitClass, true};
    case u'w':
      return ClassEscape{kWordClass, false};
    case u'W':
      return ClassEscape{kWordClass, true};
    case u's':
      return ClassEscape{kSpaceClass, false};
    case u'S':
      return ClassEscape{kSpaceClass, true};
    default:
      return std::nullopt;
  }
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

void appendNumber(std::u16string& out, unsigned value, unsigned base) {
  constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
  std::u16string digits;
  do {
    digits += kDigits[value % base];
    value /= base;
  } while (value != 0);
  out.append(digits.rbegin(), digits.rend());
}

// A character that stands for itself: ASCII letters and digits as they are, everything
// else by its code so that nothing can take a meaning of ICU's own.
void appendLiteral(std::u16string& out, char16_t c) {
  if (isAsciiLetter(c) || isDigit(c)) {
    out += c;
    return;
  }
  out += u"\\x{";
  appendNumber(out, c, 16);
  out += u'}';
}

void appendClassEscape(std::u16string& out, const ClassEscape& e) {
  out += e.negated ? u"[^" : u"[";
  out += e.members;
  out += u']';
}

// Reads the escape whose first character (after the backslash) is at `at` and that stands
// for one character; advances past it. Where the escape is incomplete, the letter stands
// for itself, and "\c" without a control letter is a backslash followed by "c".
char16_t readCharacterEscape(std::u16string_view s, std::size_t& at) {
  const char16_t c = s[at];
  if (const auto control = ControlEscape(c)) {
    ++at;
    return *control;
  }
  if (c == u'c') {
    if (at + 1 == s.size() || !isAsciiLetter(s[at + 1])) return u'\\';
    at += 2;
    return static_cast<char16_t>(s[at - 1] % 32);
  }
  if (c == u'x' || c == u'u') {
    const std::size_t digits = c == u'x' ? 2 : 4;
    const int value = ReadHexDigits(s, at + 1, digits);
    at += value < 0 ? 1 : 1 + digits;
    return value < 0 ? c : static_cast<char16_t>(value);
  }
  if (IsOctalDigit(c)) return ReadOctalEscape(s, at);
  ++at;
  return c;
}

int countCaptureGroups(std::u16string_view s) {
  int count = 0;
  bool inClass = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (c == u'\\') {
      ++i;
    } else if (inClass) {
      inClass = c != u']';
    } else if (c == u'[') {
      inClass = true;
    } else if (c == u'(' && (i + 1 == s.size() || s[i + 1] != u'?')) {
      ++count;
    }
  }
  return count;
}

// Length of the quantifier that starts at `at` (with its lazy "?"), 0 when none does.
// A brace starts one only as {n}, {n,} or {n,m}; any other brace is a literal.
std::size_t quantifierLength(std::u16string_view s, std::size_t at) {
  std::size_t end = at;
  const char16_t c = s[at];
  if (c == u'*' || c == u'+' || c == u'?') {
    end = at + 1;
  } else if (c == u'{') {
    auto digitsFrom = [&](std::size_t k) {
      while (k < s.size() && isDigit(s[k])) ++k;
      return k;
    };
    std::size_t k = digitsFrom(at + 1);
    if (k == at + 1) return 0;
    if (k < s.size() && s[k] == u',') k = digitsFrom(k + 1);
    if (k == s.size() || s[k] != u'}') return 0;
    end = k + 1;
  } else {
    return 0;
  }
  if (end < s.size() && s[end] == u'?') ++end;
  return end - at;
}

// Rewrites a pattern of the script engines' syntax into ICU's with the same meaning. ICU
// reads much of the same text differently: its \d, \w, \s, \b and "." are Unicode-wide, \v
// is a class, \a, \e, \p, \Q and others are escapes, "^" and "$" know more line breaks, a
// stray brace or "\1" without a group is an error. So every construct is spelled out, and
// every literal that is not an ASCII letter or digit is written by its code. Gives nothing
// for a pattern that the engines reject.
class PatternTranslator {
 public:
  PatternTranslator(std::u16string_view source, bool multiline)
      : s(source), multiline(multiline), groupCount(countCaptureGroups(source)) {}

  std::optional<std::u16string> translate() {
    while (at < s.size()) {
      if (!translateTerm()) return std::nullopt;
    }
    if (!openGroups.empty()) return std::nullopt;
    return std::move(out);
  }

 private:
  bool translateTerm() {
    if (const std::size_t n = quantifierLength(s, at)) {
      if (!canRepeat) return false;
      out += s.substr(at, n);
      at += n;
      canRepeat = false;
      return true;
    }
    const char16_t c = s[at];
    switch (c) {
      case u'\\':
        return translateEscape();
      case u'[':
        return translateClass();
      case u'(':
        return openGroup();
      case u')':
        return closeGroup();
      case u'|':
        return emit(u"|", false, 1);
      case u'^':
        return emit(multiline ? kLineStart : kInputStart, false, 1);
      case u'$':
        return emit(multiline ? kLineEnd : kInputEnd, false, 1);
      case u'.':
        return emit(kAnyButLineTerminator, true, 1);
      default:
        appendLiteral(out, c);
        ++at;
        canRepeat = true;
        return true;
    }
  }

  bool emit(std::u16string_view icu, bool atom, std::size_t consumed) {
    out += icu;
    at += consumed;
    canRepeat = atom;
    return true;
  }

  bool openGroup() {
    if (at + 1 == s.size() || s[at + 1] != u'?') {
      openGroups.push_back(false);
      return emit(u"(", false, 1);
    }
    if (at + 2 == s.size()) return false;
    switch (s[at + 2]) {
      case u':':
        openGroups.push_back(false);
        return emit(u"(?:", false, 3);
      // ICU refuses to repeat a look-ahead itself; a group around it may be repeated.
      case u'=':
        openGroups.push_back(true);
        return emit(u"(?:(?=", false, 3);
      case u'!':
        openGroups.push_back(true);
        return emit(u"(?:(?!", false, 3);
      default:
        return false;
    }
  }

  bool closeGroup() {
    if (openGroups.empty()) return false;
    const bool wrapped = openGroups.back();
    openGroups.pop_back();
    return emit(wrapped ? u"))" : u")", true, 1);
  }

  bool translateEscape() {
    if (++at == s.size()) return false;
    const char16_t c = s[at];
    if (c == u'b') return emit(kWordBoundary, false, 1);
    if (c == u'B') return emit(kNotWordBoundary, false, 1);
    if (const auto e = classEscape(c)) {
      appendClassEscape(out, *e);
      return emit({}, true, 1);
    }
    if (c >= u'1' && c <= u'9' && translateBackReference()) return true;
    appendLiteral(out, readCharacterEscape(s, at));
    canRepeat = true;
    return true;
  }

  // A decimal escape takes all the digits that follow; it refers to a group when the
  // pattern has that many, and is otherwise read as an octal escape or a literal digit.
  bool translateBackReference() {
    std::size_t end = at;
    unsigned number = 0;
    for (; end < s.size() && isDigit(s[end]); ++end) {
      number = std::min(number * 10 + (s[end] - u'0'), 1000000u);
    }
    if (number > static_cast<unsigned>(groupCount)) return false;
    out += u"(?:\\";
    appendNumber(out, number, 10);
    out += u')';
    at = end;
    canRepeat = true;
    return true;
  }

  // One member of a class: a character, or one of the class escapes.
  struct ClassAtom {
    char16_t unit = 0;
    std::optional<ClassEscape> escape;
  };

  std::optional<ClassAtom> readClassAtom() {
    if (s[at] != u'\\') return ClassAtom{s[at++], std::nullopt};
    if (++at == s.size()) return std::nullopt;
    const char16_t c = s[at];
    if (c == u'b') {
      ++at;
      return ClassAtom{u'\b', std::nullopt};
    }
    if (const auto e = classEscape(c)) {
      ++at;
      return ClassAtom{0, e};
    }
    return ClassAtom{readCharacterEscape(s, at), std::nullopt};
  }

  static void appendClassAtom(std::u16string& members, const ClassAtom& a) {
    if (a.escape) {
      appendClassEscape(members, *a.escape);
    } else {
      appendLiteral(members, a.unit);
    }
  }

  bool translateClass() {
    ++at;
    const bool negated = at < s.size() && s[at] == u'^';
    if (negated) ++at;
    std::u16string members;
    while (true) {
      if (at == s.size()) return false;
      if (s[at] == u']') break;
      const auto first = readClassAtom();
      if (!first) return false;
      if (at + 1 < s.size() && s[at] == u'-' && s[at + 1] != u']') {
        ++at;
        const auto last = readClassAtom();
        if (!last) return false;
        if (!first->escape && !last->escape) {
          if (first->unit > last->unit) return false;
          appendLiteral(members, first->unit);
          members += u'-';
          appendLiteral(members, last->unit);
          continue;
        }
        // A class escape cannot bound a range; the hyphen is then a member itself.
        appendClassAtom(members, *first);
        appendLiteral(members, u'-');
        appendClassAtom(members, *last);
        continue;
      }
      appendClassAtom(members, *first);
    }
    if (members.empty()) return emit(negated ? kAnything : kNothing, true, 1);
    out += negated ? u"[^" : u"[";
    out += members;
    return emit(u"]", true, 1);
  }

  std::u16string_view s;
  bool multiline;
  int groupCount;
  std::size_t at = 0;
  std::u16string out;
  // For each open group: whether it closes with two parentheses (a wrapped look-ahead).
  std::vector<bool> openGroups;
  // Whether a quantifier may follow what was emitted last.
  bool canRepeat = false;
};

std::shared_ptr<const icu::RegexPattern> compilePattern(std::string_view pattern, bool ignoreCase,
                                                        bool multiline) {
  const auto translated =
      PatternTranslator(DecodeCodePage(pattern, kCodePageGbk), multiline).translate();
  if (!translated || translated->size() > std::numeric_limits<std::int32_t>::max()) {
    return nullptr;
  }
  UErrorCode status = U_ZERO_ERROR;
  UParseError where;
  std::shared_ptr<const icu::RegexPattern> compiled(icu::RegexPattern::compile(
      icu::UnicodeString(translated->data(), static_cast<std::int32_t>(translated->size())),
      ignoreCase ? UREGEX_CASE_INSENSITIVE : 0, where, status));
  if (U_FAILURE(status)) return nullptr;
  return compiled;
}

// The program runs the same two patterns on every keystroke; each thread keeps the patterns
// it used last, most recent first, so that they compile once. A rejected pattern is kept
// too, as nothing.
std::shared_ptr<const icu::RegexPattern> cachedPattern(std::string_view pattern, bool ignoreCase,
                                                       bool multiline) {
  struct Entry {
    Text pattern;
    bool ignoreCase;
    bool multiline;
    std::shared_ptr<const icu::RegexPattern> compiled;
  };
  thread_local std::vector<Entry> cache;
  const auto hit = std::find_if(cache.begin(), cache.end(), [&](const Entry& e) {
    return e.pattern == pattern && e.ignoreCase == ignoreCase && e.multiline == multiline;
  });
  if (hit != cache.end()) {
    std::rotate(cache.begin(), hit, hit + 1);
  } else {
    if (cache.size() == kPatternCacheSize) cache.pop_back();
    cache.insert(cache.begin(), Entry{Text(pattern), ignoreCase, multiline,
                                      compilePattern(pattern, ignoreCase, multiline)});
  }
  return cache.front().compiled;
}

}  // namespace

// The result of one Create, shared by copies and never changed after it.
struct RegexObject::Search {
  Text pattern;
  std::u16string subject;
  // Whether the search ran to its end; false for a rejected pattern and a failed search.
  bool matched = false;
  int groupCount = 0;
  // Per match: start and end of the whole match, then of each group, in UTF-16 units;
  // -1 for a group that took no part in the match.
  std::vector<std::int32_t> bounds;

  mutable std::once_flag byteOffsetsBuilt;
  // Byte offset in the subject's code page 936 form of each UTF-16 unit, and its length.
  mutable std::vector<std::int32_t> byteOffsets;

  bool run(const icu::RegexPattern& compiled, bool global);
  int matchCount() const { return matched ? static_cast<int>(bounds.size() / matchStride()) : 0; }
  std::size_t matchStride() const { return 2 * (static_cast<std::size_t>(groupCount) + 1); }
  Text groupText(int matchIndex, int group, int* position) const;
  std::int32_t byteOffset(std::int32_t unit) const;
  void buildByteOffsets() const;
  Text replaced(std::u16string_view replacement) const;
  void appendExpansion(std::u16string& out, std::u16string_view replacement,
                       const std::int32_t* match) const;
  void appendGroup(std::u16string& out, const std::int32_t* match, int group) const;
};

bool RegexObject::Search::run(const icu::RegexPattern& compiled, bool global) {
  using Clock = std::chrono::steady_clock;
  if (subject.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return false;
  }
  UErrorCode status = U_ZERO_ERROR;
  const icu::UnicodeString input(false, subject.data(), static_cast<std::int32_t>(subject.size()));
  const std::unique_ptr<icu::RegexMatcher> matcher(compiled.matcher(input, status));
  if (U_FAILURE(status)) return false;
  matcher->setStackLimit(kBacktrackLimitBytes, status);
  groupCount = matcher->groupCount();
  const auto deadline = Clock::now() + kSearchTimeLimit;
  while (U_SUCCESS(status)) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    // ICU counts its limit in steps of roughly a millisecond each.
    matcher->setTimeLimit(static_cast<std::int32_t>(left.count()), status);
    if (!matcher->find(status)) break;
    for (int g = 0; g <= groupCount; ++g) {
      bounds.push_back(matcher->start(g, status));
      bounds.push_back(matcher->end(g, status));
    }
    if (!global) break;
  }
  return U_SUCCESS(status);
}

Text RegexObject::Search::groupText(int matchIndex, int group, int* position) const {
  const bool inRange =
      matchIndex >= 1 && matchIndex <= matchCount() && group >= 0 && group <= groupCount;
  const std::int32_t* bound =
      inRange ? &bounds[(static_cast<std::size_t>(matchIndex) - 1) * matchStride() +
                        2 * static_cast<std::size_t>(group)]
              : nullptr;
  if (bound == nullptr || bound[0] < 0) {
    // What a search for the empty text from the start of the subject finds.
    if (position != nullptr) *position = subject.empty() ? -2 : 0;
    return {};
  }
  if (position != nullptr) *position = byteOffset(bound[0]);
  return EncodeCodePage(std::u16string_view(subject).substr(bound[0], bound[1] - bound[0]),
                        kCodePageGbk);
}

std::int32_t RegexObject::Search::byteOffset(std::int32_t unit) const {
  std::call_once(byteOffsetsBuilt, [this] { buildByteOffsets(); });
  return byteOffsets[static_cast<std::size_t>(unit)];
}

void RegexObject::Search::buildByteOffsets() const {
  const std::u16string_view units(subject);
  byteOffsets.reserve(units.size() + 1);
  std::int32_t offset = 0;
  for (std::size_t k = 0; k < units.size();) {
    byteOffsets.push_back(offset);
    if (units[k] < 0x80) {
      ++offset;
      ++k;
      continue;
    }
    // A surrogate pair is one character, which code page 936 lacks: one "?".
    const bool pair = k + 1 < units.size() && units[k] >= 0xD800 && units[k] <= 0xDBFF &&
                      units[k + 1] >= 0xDC00 && units[k + 1] <= 0xDFFF;
    const std::size_t width = pair ? 2 : 1;
    offset +=
        static_cast<std::int32_t>(EncodeCodePage(units.substr(k, width), kCodePageGbk).size());
    if (pair) byteOffsets.push_back(offset);
    k += width;
  }
  byteOffsets.push_back(offset);
}

Text RegexObject::Search::replaced(std::u16string_view replacement) const {
  if (!matched) return {};
  const std::u16string_view whole(subject);
  std::u16string out;
  std::size_t copied = 0;
  for (int m = 0; m < matchCount(); ++m) {
    const std::int32_t* match = &bounds[static_cast<std::size_t>(m) * matchStride()];
    out += whole.substr(copied, static_cast<std::size_t>(match[0]) - copied);
    appendExpansion(out, replacement, match);
    copied = static_cast<std::size_t>(match[1]);
  }
  out += whole.substr(copied);
  return EncodeCodePage(out, kCodePageGbk);
}

void RegexObject::Search::appendGroup(std::u16string& out, const std::int32_t* match,
                                      int group) const {
  const std::int32_t start = match[2 * group];
  if (start >= 0) out += std::u16string_view(subject).substr(start, match[2 * group + 1] - start);
}

// "$$", "$&", "$`", "$'" and "$n"/"$nn" for a group the pattern has; a two-digit number
// that names no group is read as one digit and a literal digit. Any other "$" is itself.
void RegexObject::Search::appendExpansion(std::u16string& out, std::u16string_view replacement,
                                          const std::int32_t* match) const {
  const std::u16string_view whole(subject);
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    const char16_t c = replacement[i];
    if (c != u'$' || i + 1 == replacement.size()) {
      out += c;
      continue;
    }
    const char16_t next = replacement[i + 1];
    if (next == u'$') {
      out += u'$';
      ++i;
    } else if (next == u'&') {
      appendGroup(out, match, 0);
      ++i;
    } else if (next == u'`') {
      out += whole.substr(0, static_cast<std::size_t>(match[0]));
      ++i;
    } else if (next == u'\'') {
      out += whole.substr(static_cast<std::size_t>(match[1]));
      ++i;
    } else if (isDigit(next)) {
      const int one = next - u'0';
      const bool twoDigits = i + 2 < replacement.size() && isDigit(replacement[i + 2]);
      const int two = twoDigits ? one * 10 + (replacement[i + 2] - u'0') : 0;
      if (two >= 1 && two <= groupCount) {
        appendGroup(out, match, two);
        i += 2;
      } else if (one >= 1 && one <= groupCount) {
        appendGroup(out, match, one);
        ++i;
      } else {
        out += u'$';
      }
    } else {
      out += u'$';
    }
  }
}

RegexObject::RegexObject() : lastSearch(std::make_shared<const Search>()) {}
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(const RegexObject& other) = default;
RegexObject& RegexObject::operator=(const RegexObject& other) = default;

bool RegexObject::Create(std::string_view pattern, std::string_view subject, bool caseSensitive,
                         bool multiline, bool global, bool quoteEscape) {
  auto search = std::make_shared<Search>();
  search->pattern = quoteEscape ? ReplaceText(pattern, kQuoteMarker, "\"") : Text(pattern);
  search->subject = DecodeCodePage(subject, kCodePageGbk);
  try {
    const auto compiled = cachedPattern(search->pattern, !caseSensitive, multiline);
    search->matched = compiled != nullptr && search->run(*compiled, global);
  } catch (const std::bad_alloc&) {
    search->matched = false;
  }
  if (!search->matched) search->bounds.clear();
  lastSearch = std::move(search);
  return lastSearch->matched;
}

void RegexObject::NoOperation() {}

Text RegexObject::GetPattern() const { return lastSearch->pattern; }

Text RegexObject::Replace(std::string_view replacement) const {
  return lastSearch->replaced(DecodeCodePage(replacement, kCodePageGbk));
}

int RegexObject::MatchCount() const { return lastSearch->matchCount(); }

Text RegexObject::MatchText(int index, int* position) const {
  return lastSearch->groupText(index, 0, position);
}

Text RegexObject::SubMatchText(int matchIndex, int subIndex, int* position) const {
  // Group 0 is the whole match, which no sub-match index names.
  return lastSearch->groupText(matchIndex, subIndex < 1 ? -1 : subIndex, position);
}

int RegexObject::SubMatchCount() const {
  return lastSearch->matchCount() > 0 ? lastSearch->groupCount : 0;
}

}  // namespace quillmere
