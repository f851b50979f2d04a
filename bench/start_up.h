#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

class QWidget;

namespace quillmere {

using WindowFactory = std::function<std::unique_ptr<QWidget>()>;

// Times, per iteration, making a window with `makeWindow`, showing it and processing events until
// its first paint event has been handled. Destroying the window is not timed. Needs a
// QApplication.
void measureStartUp(benchmark::State& state, const WindowFactory& makeWindow);

}  // namespace quillmere
