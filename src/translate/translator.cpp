#include "translate/translator.h"

#include "http/http_request.h"
#include "platform/code_page.h"
#include "script/json_object.h"
#include "translate/codecs.h"
#include "translate/digest.h"
#include "translate/escape_decoder.h"
#include "translate/non_ascii.h"
#include "translate/salt.h"
#include "translate/settings.h"

namespace quillmere {
namespace {

constexpr std::uint32_t kSaltMin = 10000;
constexpr std::uint32_t kSaltMax = 99999;
constexpr std::string_view kRateLimitedCode = "54000";

const Text& serverUnreachableText() {
  static const Text text = Utf8ToGbk("访问服务器失败");
  return text;
}

const Text& errorCodeSeparator() {
  static const Text text = Utf8ToGbk(",错误代码：");
  return text;
}

// The JSON reader resolves every escape of a well-formed answer itself; resolving them
// beforehand would break answers whose text holds a quote, a backslash, "%41" and the like.
// Only an answer the JSON reader rejects goes through the lenient escape decoder.
bool parseAnswer(JsonObject& answer, const Text& text) {
  return answer.Parse(text) || answer.Parse(DecodeUnicodeEscapes(text));
}

Text joinTranslations(JsonObject& answer) {
  Text translation;
  const int count = answer.Count("trans_result");
  for (int i = 0; i < count; ++i) {
    const Text dst = answer.GetText("trans_result[" + NumberToText(i) + "].dst");
    if (translation.empty()) {
      translation = dst;
    } else {
      translation.append("\r\n").append(dst);
    }
  }
  return translation;
}

}  // namespace

void InitializeTranslation() {
  InitializeHttp();
  // A first conversion opens the thread's converters; a first signature fetches the digest.
  GbkToUtf8(errorCodeSeparator());
  MakeSign({}, {}, {}, {});
}

TranslationService CompiledInService() {
  return {settings::kEndpoint, settings::kAppId, settings::kSecretKey};
}

bool TranslateText(const Text& source, Text& translation, Text& errorText) {
  return TranslateText(source, translation, errorText, CompiledInService());
}

bool TranslateText(const Text& source, Text& translation, Text& errorText,
                   const TranslationService& service) {
  const Bytes body = HttpRequest({.url = Text(service.endpoint),
                                  .method = 1,
                                  .body = TranslationForm(service, source),
                                  .timeoutSeconds = service.timeoutSeconds});
  return ReadTranslationAnswer(body, translation, errorText);
}

Text TranslationForm(const TranslationService& service, const Text& source) {
  const bool fromChinese = ContainsNonAscii(source);
  const Text salt = NumberToText(static_cast<long long>(RandomInRange(kSaltMin, kSaltMax)));
  // The source's UTF-8 form serves both the query and the signature, so it is converted once:
  // this is MakeSign's digest of the joined texts, as no digit of the salt can complete a
  // double-byte character that the source leaves open.
  const Text utf8Source = AnsiToUtf8(source);
  const Text sign =
      Md5Hex(AnsiToUtf8(service.appId) + utf8Source + salt + AnsiToUtf8(service.secretKey));
  Text form;
  form.reserve(source.size() * 9 + 128);
  form.append("appid=").append(service.appId);
  form.append("&q=").append(UrlEncode(utf8Source));
  form.append("&from=").append(fromChinese ? "zh" : "en");
  form.append("&to=").append(fromChinese ? "en" : "zh");
  form.append("&salt=").append(salt);
  form.append("&sign=").append(sign);
  return form;
}

bool ReadTranslationAnswer(const Bytes& body, Text& translation, Text& errorText) {
  JsonObject answer;
  if (!parseAnswer(answer, Utf8BytesToAnsi(body))) {
    errorText = serverUnreachableText();
    return false;
  }
  if (answer.HasMember("error_code")) {
    if (CompareText(answer.GetText("error_code"), kRateLimitedCode) == 0) return true;
    errorText = answer.GetText("error_msg") + errorCodeSeparator() + answer.GetText("error_code");
    return false;
  }
  translation = joinTranslations(answer);
  return true;
}

}  // namespace quillmere
