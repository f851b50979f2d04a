// Start-up: constructing, showing and first painting the tool's window, against a bare window
// of the same twelve plain widgets.

#include "app/main_window.h"
#include "bare_window.h"
#include "start_up.h"

#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

namespace quillmere {
namespace {

void BM_BareWindow(benchmark::State& state) { measureStartUp(state, makeBareWindow); }
BENCHMARK(BM_BareWindow)->UseRealTime()->Unit(benchmark::kMillisecond);

// The bare window with the one visible difference that costs: the edit boxes show their vertical
// scroll bars at all times, as the tool's do.
void BM_BareWindowWithScrollBars(benchmark::State& state) {
  measureStartUp(state, [] {
    std::unique_ptr<QWidget> window = makeBareWindow();
    for (auto* box : window->findChildren<QPlainTextEdit*>()) {
      box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    return window;
  });
}
BENCHMARK(BM_BareWindowWithScrollBars)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_MainWindow(benchmark::State& state) {
  // Showing the window translates nothing; a call would make the figure meaningless.
  bool translated = false;
  const TranslateFunction translate = [&translated](const Text&, Text&, Text&) {
    translated = true;
    return false;
  };
  measureStartUp(state, [&translate] { return std::make_unique<MainWindow>(translate); });
  if (translated) state.SkipWithError("showing the window made a translation");
}
BENCHMARK(BM_MainWindow)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillmere
