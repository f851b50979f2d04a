// One translation against the loopback server: the HTTP request as the translation request makes
// it, the whole TranslateText, and TranslateText as its source and its answer grow.

#include "bench_server.h"
#include "http/http_request.h"
#include "platform/code_page.h"
#include "service_messages.h"
#include "translate/translator.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

namespace quillmere {
namespace {

constexpr std::string_view kSource = "get user name";

// The service compiled in, pointed at `endpoint`, which must outlive it.
TranslationService loopbackService(const std::string& endpoint) {
  TranslationService service = CompiledInService();
  service.endpoint = endpoint;
  return service;
}

// Code page 936 text of exactly `bytes` bytes (an even number): whole Chinese characters.
Text chineseSource(std::size_t bytes) {
  const Text phrase = Utf8ToGbk("获取用户名");
  Text source;
  source.reserve(bytes + phrase.size());
  while (source.size() < bytes) source += phrase;
  source.resize(bytes);
  return source;
}

// One translation per iteration; fails the benchmark unless each gives a translation.
void translateEach(benchmark::State& state, LoopbackServer& server, const Text& source) {
  const std::string endpoint = server.url();
  const TranslationService service = loopbackService(endpoint);
  for (auto _ : state) {
    Text translation;
    Text errorText;
    if (!TranslateText(source, translation, errorText, service) || translation.empty()) {
      state.SkipWithError("the translation failed");
      break;
    }
    benchmark::DoNotOptimize(translation);
  }
  countConnections(state, server);
}

void BM_HttpRequest(benchmark::State& state) {
  const auto server = startServer(state);
  if (!server) return;
  const Text url = server->url();
  const Text form = translationForm(kSource);
  for (auto _ : state) {
    const Bytes body = HttpRequest({.url = url, .method = 1, .body = form});
    if (body.empty()) {
      state.SkipWithError("exchange failed");
      break;
    }
  }
  countConnections(state, *server);
}
BENCHMARK(BM_HttpRequest)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_TranslateText(benchmark::State& state) {
  const auto server = startServer(state);
  if (!server) return;
  translateEach(state, *server, Text(kSource));
}
BENCHMARK(BM_TranslateText)->UseRealTime()->Unit(benchmark::kMicrosecond);

// A Chinese source of state.range(0) bytes, answered with one entry.
void BM_TranslateSource(benchmark::State& state) {
  const auto server = startServer(state);
  if (!server) return;
  translateEach(state, *server, chineseSource(static_cast<std::size_t>(state.range(0))));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TranslateSource)
    ->ArgName("bytes")
    ->Arg(10)
    ->Arg(1024)
    ->Arg(64 * 1024)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

// The short source, answered with state.range(0) entries.
void BM_TranslateAnswer(benchmark::State& state) {
  const auto server = startServer(state);
  if (!server) return;
  server->setAnswer(translationAnswer(static_cast<std::size_t>(state.range(0))));
  translateEach(state, *server, Text(kSource));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TranslateAnswer)
    ->ArgName("entries")
    ->Arg(1)
    ->Arg(100)
    ->Arg(10000)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillmere
