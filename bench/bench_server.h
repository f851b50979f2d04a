#pragma once

#include "loopback_server.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace quillmere {

// The loopback server for one benchmark; null, with the benchmark marked failed, when it cannot
// start.
std::unique_ptr<LoopbackServer> startServer(
    benchmark::State& state,
    LoopbackServer::Connections connections = LoopbackServer::Connections::keptAlive);

// Reports how many exchanges each accepted connection carried, as the counter
// "exchanges_per_connection".
void countConnections(benchmark::State& state, const LoopbackServer& server);

}  // namespace quillmere
