// Start-up: constructing, showing and first painting a window.

#include "bare_window.h"
#include "start_up.h"

#include <benchmark/benchmark.h>

namespace quillmere {
namespace {

void BM_BareWindow(benchmark::State& state) { measureStartUp(state, makeBareWindow); }
BENCHMARK(BM_BareWindow)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillmere
