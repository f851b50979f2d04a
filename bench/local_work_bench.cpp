// The work of one translation besides the exchange, step by step and as a whole, on the source
// and the answer the exchange benchmarks use.

#include "script/json_object.h"
#include "service_messages.h"
#include "translate/codecs.h"
#include "translate/digest.h"
#include "translate/non_ascii.h"
#include "translate/salt.h"
#include "translate/translator.h"

#include <benchmark/benchmark.h>

#include <string_view>

namespace quillmere {
namespace {

constexpr std::string_view kSource = "get user name";
constexpr std::string_view kSalt = "31415";

Bytes answerBytes() {
  const std::string answer = translationAnswer(1);
  return Bytes(answer.begin(), answer.end());
}

// The reads TranslateText makes of a parsed answer: the error code, then every entry's dst,
// joined by line breaks.
bool readAnswer(const JsonObject& answer, Text& translation) {
  if (answer.HasMember("error_code")) return false;
  translation.clear();
  const int count = answer.Count("trans_result");
  for (int i = 0; i < count; ++i) {
    const Text dst = answer.GetText("trans_result[" + NumberToText(i) + "].dst");
    if (translation.empty()) {
      translation = dst;
    } else {
      translation.append("\r\n").append(dst);
    }
  }
  return true;
}

void BM_ContainsNonAscii(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ContainsNonAscii(kSource));
}
BENCHMARK(BM_ContainsNonAscii)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_UrlEncode(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(UrlEncode(kSource, false, true));
}
BENCHMARK(BM_UrlEncode)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_MakeSign(benchmark::State& state) {
  const TranslationService service = CompiledInService();
  for (auto _ : state) {
    benchmark::DoNotOptimize(MakeSign(service.appId, kSource, kSalt, service.secretKey));
  }
}
BENCHMARK(BM_MakeSign)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_Utf8BytesToAnsi(benchmark::State& state) {
  const Bytes body = answerBytes();
  for (auto _ : state) benchmark::DoNotOptimize(Utf8BytesToAnsi(body));
}
BENCHMARK(BM_Utf8BytesToAnsi)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_JsonParse(benchmark::State& state) {
  const Text text = Utf8BytesToAnsi(answerBytes());
  for (auto _ : state) {
    JsonObject answer;
    benchmark::DoNotOptimize(answer.Parse(text));
  }
}
BENCHMARK(BM_JsonParse)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_AnswerReads(benchmark::State& state) {
  JsonObject answer;
  answer.Parse(Utf8BytesToAnsi(answerBytes()));
  Text translation;
  for (auto _ : state) {
    if (!readAnswer(answer, translation)) {
      state.SkipWithError("the answer holds no translation");
      break;
    }
  }
}
BENCHMARK(BM_AnswerReads)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Every step of TranslateText but the exchange, in its order: the direction, the salt, the
// signature, the form, then the answer's decoding, parsing and reading.
void BM_LocalWork(benchmark::State& state) {
  const TranslationService service = CompiledInService();
  const Bytes body = answerBytes();
  const Text source(kSource);
  for (auto _ : state) {
    JsonObject answer;
    const bool fromChinese = ContainsNonAscii(source);
    const Text salt = NumberToText(static_cast<long long>(RandomInRange(10000, 99999)));
    const Text sign = MakeSign(service.appId, source, salt, service.secretKey);
    Text form;
    form.append("appid=").append(service.appId);
    form.append("&q=").append(UrlEncode(source, false, true));
    form.append("&from=").append(fromChinese ? "zh" : "en");
    form.append("&to=").append(fromChinese ? "en" : "zh");
    form.append("&salt=").append(salt);
    form.append("&sign=").append(sign);
    benchmark::DoNotOptimize(form);
    Text translation;
    if (!answer.Parse(Utf8BytesToAnsi(body)) || !readAnswer(answer, translation)) {
      state.SkipWithError("the answer holds no translation");
      break;
    }
    benchmark::DoNotOptimize(translation);
  }
}
BENCHMARK(BM_LocalWork)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillmere
