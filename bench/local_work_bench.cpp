// The work of one translation besides the exchange, step by step and as a whole, on the source
// and the answer the exchange benchmarks use.

#include "script/json_object.h"
#include "service_messages.h"
#include "translate/codecs.h"
#include "translate/digest.h"
#include "translate/non_ascii.h"
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

// Reads `body` as TranslateText does; false, with the benchmark marked failed, when it holds no
// translation.
bool readTranslation(benchmark::State& state, const Bytes& body) {
  Text translation;
  Text errorText;
  if (!ReadTranslationAnswer(body, translation, errorText)) {
    state.SkipWithError("the answer holds no translation");
    return false;
  }
  benchmark::DoNotOptimize(translation);
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

void BM_TranslationForm(benchmark::State& state) {
  const TranslationService service = CompiledInService();
  const Text source(kSource);
  for (auto _ : state) benchmark::DoNotOptimize(TranslationForm(service, source));
}
BENCHMARK(BM_TranslationForm)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_ReadTranslationAnswer(benchmark::State& state) {
  const Bytes body = answerBytes();
  for (auto _ : state) {
    if (!readTranslation(state, body)) break;
  }
}
BENCHMARK(BM_ReadTranslationAnswer)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Everything TranslateText does but the exchange: the form it posts, then the answer's
// decoding, parsing and reading.
void BM_LocalWork(benchmark::State& state) {
  const TranslationService service = CompiledInService();
  const Bytes body = answerBytes();
  const Text source(kSource);
  for (auto _ : state) {
    benchmark::DoNotOptimize(TranslationForm(service, source));
    if (!readTranslation(state, body)) break;
  }
}
BENCHMARK(BM_LocalWork)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillmere
