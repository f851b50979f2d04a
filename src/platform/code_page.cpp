#include "platform/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <algorithm>
#include <memory>

namespace quillmere {
namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Every character code page 936 lacks becomes one "?", a character outside the Basic
// Multilingual Plane (a surrogate pair) included, and so does a lone surrogate. ICU's own
// substitution would drop default-ignorable characters such as U+FEFF instead.
void questionMarkPerCharacter(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                              UChar32, UConverterCallbackReason reason, UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;
  *status = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, "?", 1, 0, status);
}

Converter openConverter(const char* name) {
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(name, &status));
  if (U_FAILURE(status)) return nullptr;
  return converter;
}

// The table's fallback mappings are Windows' best-fit mappings (superscript two to "2",
// capital A with grave to the pinyin letter), which Windows applies unless told not to.
Converter openGbkConverter() {
  Converter converter = openConverter("windows-936-2000");
  if (converter == nullptr) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setFallback(converter.get(), true);
  ucnv_setFromUCallBack(converter.get(), questionMarkPerCharacter, nullptr, nullptr, nullptr,
                        &status);
  if (U_FAILURE(status)) return nullptr;
  return converter;
}

// One converter per code page and thread: opening one costs far more than a conversion.
UConverter* converterFor(int codePage) {
  thread_local const Converter gbk = openGbkConverter();
  thread_local const Converter utf8 = openConverter("UTF-8");
  switch (codePage) {
    case kCodePageAnsi:
    case kCodePageGbk:
      return gbk.get();
    case kCodePageUtf8:
      return utf8.get();
    default:
      return nullptr;
  }
}

// ASCII is the same bytes in code page 936 and in UTF-8. The texts of a translation (the
// source, the form, the service's answer with its \u escapes) are mostly ASCII, so they are
// copied instead of converted twice.
bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

bool IsSupportedCodePage(int codePage) {
  return codePage == kCodePageAnsi || codePage == kCodePageGbk || codePage == kCodePageUtf8;
}

std::u16string DecodeCodePage(std::string_view bytes, int codePage) {
  UConverter* converter = converterFor(codePage);
  if (converter == nullptr || bytes.empty()) return {};
  ucnv_resetToUnicode(converter);
  // Never more UTF-16 units than input bytes for these code pages.
  std::u16string units(bytes.size(), u'\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(converter, units.data(), static_cast<int32_t>(units.size()),
                                  bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status)) return {};
  units.resize(static_cast<std::size_t>(n));
  return units;
}

std::string EncodeCodePage(std::u16string_view units, int codePage) {
  UConverter* converter = converterFor(codePage);
  if (converter == nullptr || units.empty()) return {};
  ucnv_resetFromUnicode(converter);
  // At most 3 bytes per UTF-16 unit in UTF-8, 2 in code page 936.
  std::string bytes(units.size() * 3, '\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = ucnv_fromUChars(converter, bytes.data(), static_cast<int32_t>(bytes.size()),
                                    units.data(), static_cast<int32_t>(units.size()), &status);
  if (U_FAILURE(status)) return {};
  bytes.resize(static_cast<std::size_t>(n));
  return bytes;
}

std::string GbkToUtf8(std::string_view text) {
  if (isAscii(text)) return std::string(text);
  return EncodeCodePage(DecodeCodePage(text, kCodePageGbk), kCodePageUtf8);
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  return EncodeCodePage(DecodeCodePage(utf8, kCodePageUtf8), kCodePageGbk);
}

}  // namespace quillmere
