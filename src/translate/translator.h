#pragma once

#include "platform/text.h"

#include <string_view>

namespace quillmere {

// Where translations are sent and with which credentials.
struct TranslationService {
  std::string_view endpoint;
  std::string_view appId;
  std::string_view secretKey;
  // HttpRequest's time-out in seconds; 0 keeps its default of 15 s per phase, as the compiled-in
  // service does.
  int timeoutSeconds = 0;
};

// The service compiled into this build (the QUILLMERE_* settings).
TranslationService CompiledInService();

// The set-up the first translation would otherwise pay for, more than a whole later translation
// costs: libcurl and the calling thread's exchanges (InitializeHttp), the thread's code page
// converters and the digest. Call it on the thread that translates, before the first keystroke.
void InitializeTranslation();

// Translates `source` (Chinese to English when it holds any character outside 0x20-0x7F,
// else English to Chinese). True with `translation` set on success; true with nothing
// assigned when the service answers with the error code 54000; false with `errorText` set
// on failure. An out-parameter a path does not assign keeps the caller's value.
bool TranslateText(const Text& source, Text& translation, Text& errorText);
bool TranslateText(const Text& source, Text& translation, Text& errorText,
                   const TranslationService& service);

// The two halves of TranslateText around its exchange with the service. TranslationForm is the
// body it posts for `source` (direction, salt and signature included); ReadTranslationAnswer
// takes the body the service answered with, or an empty one when the exchange failed, and
// returns and assigns as TranslateText does.
Text TranslationForm(const TranslationService& service, const Text& source);
bool ReadTranslationAnswer(const Bytes& body, Text& translation, Text& errorText);

}  // namespace quillmere
