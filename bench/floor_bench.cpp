// The floor under every translation: one exchange with the loopback server by a raw socket, kept
// alive or connected afresh, and by libcurl with one reused handle.

#include "bench_server.h"
#include "curl_poster.h"
#include "raw_client.h"
#include "service_messages.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

namespace quillmere {
namespace {

constexpr std::string_view kSource = "get user name";

// Shows whether the client kept its connection: 1 when it connected for every exchange.
void BM_RawKeptAlive(benchmark::State& state) {
  const auto server = LoopbackServer::start();
  const UniqueFd connection = server ? connectLoopback(server->port()) : UniqueFd();
  if (!connection.valid()) {
    state.SkipWithError("cannot connect to the loopback server");
    return;
  }
  const std::string request = translationPostMessage(server->port(), translationForm(kSource));
  std::string response;
  for (auto _ : state) {
    if (!rawExchange(connection.get(), request, response)) {
      state.SkipWithError("exchange failed");
      break;
    }
  }
  countConnections(state, *server);
}
BENCHMARK(BM_RawKeptAlive)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_RawNewConnection(benchmark::State& state) {
  const auto server = startServer(state, LoopbackServer::Connections::closedAfterAnswer);
  if (!server) return;
  const std::string request = translationPostMessage(server->port(), translationForm(kSource));
  std::string response;
  for (auto _ : state) {
    const UniqueFd connection = connectLoopback(server->port());
    if (!connection.valid() || !rawExchange(connection.get(), request, response)) {
      state.SkipWithError("exchange failed");
      break;
    }
  }
  countConnections(state, *server);
}
BENCHMARK(BM_RawNewConnection)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_CurlReused(benchmark::State& state) {
  const auto server = startServer(state);
  if (!server) return;
  CurlFormPoster poster(server->url(), translationForm(kSource));
  for (auto _ : state) {
    if (!poster.post()) {
      state.SkipWithError("exchange failed");
      break;
    }
  }
  countConnections(state, *server);
}
BENCHMARK(BM_CurlReused)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillmere
