#include "bench_server.h"

namespace quillmere {

std::unique_ptr<LoopbackServer> startServer(benchmark::State& state,
                                            LoopbackServer::Connections connections) {
  auto server = LoopbackServer::start(connections);
  if (!server) state.SkipWithError("cannot start the loopback server");
  return server;
}

void countConnections(benchmark::State& state, const LoopbackServer& server) {
  const std::size_t accepted = server.acceptedConnections();
  if (accepted == 0) return;
  state.counters["exchanges_per_connection"] =
      static_cast<double>(server.answeredRequests()) / static_cast<double>(accepted);
}

}  // namespace quillmere
