#include "platform/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <memory>

namespace quillmere {
namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// ICU's own substitution silently drops the default-ignorable characters a code page lacks
// (U+00AD, U+200B, U+FEFF and the like); the Windows conversion writes "?" for them as for any
// other missing character.
void U_CALLCONV substituteEveryMissing(const void*, UConverterFromUnicodeArgs* args, const UChar*,
                                       int32_t, UChar32, UConverterCallbackReason reason,
                                       UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close and clone need nothing
  *status = U_ZERO_ERROR;
  ucnv_cbFromUWriteSub(args, 0, status);
}

Converter openConverter(const char* name, bool questionMarkForMissing) {
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(name, &status));
  if (U_FAILURE(status)) return nullptr;
  if (questionMarkForMissing) {
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    ucnv_setFromUCallBack(converter.get(), substituteEveryMissing, nullptr, nullptr, nullptr,
                          &status);
  }
  return converter;
}

// One converter per code page and thread: opening one costs far more than a conversion.
UConverter* converterFor(int codePage) {
  thread_local const Converter gbk = openConverter("windows-936-2000", true);
  thread_local const Converter utf8 = openConverter("UTF-8", false);
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

}  // namespace

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
  return EncodeCodePage(DecodeCodePage(text, kCodePageGbk), kCodePageUtf8);
}

std::string Utf8ToGbk(std::string_view utf8) {
  return EncodeCodePage(DecodeCodePage(utf8, kCodePageUtf8), kCodePageGbk);
}

}  // namespace quillmere
