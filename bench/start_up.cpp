#include "start_up.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QObject>
#include <QWidget>

namespace quillmere {
namespace {

constexpr int kPaintWaitMilliseconds = 5000;

// Notes the first paint event sent to the object it filters.
class PaintWatch : public QObject {
 public:
  bool painted() const { return painted_; }
  void reset() { painted_ = false; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted_ = true;
    return QObject::eventFilter(watched, event);
  }

 private:
  bool painted_ = false;
};

// Painting a window's children belongs to the same pass as the window's own paint event, so once
// that event has been seen and the event processing around it has returned, the whole window is
// painted.
bool processUntilPainted(const PaintWatch& watch) {
  const QDeadlineTimer deadline(kPaintWaitMilliseconds);
  while (!watch.painted()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents();
  }
  return true;
}

void destroyUntimed(benchmark::State& state, std::unique_ptr<QWidget>& window) {
  state.PauseTiming();
  window.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  state.ResumeTiming();
}

}  // namespace

void measureStartUp(benchmark::State& state, const WindowFactory& makeWindow) {
  PaintWatch watch;
  for (auto _ : state) {
    watch.reset();
    std::unique_ptr<QWidget> window = makeWindow();
    window->installEventFilter(&watch);
    window->show();
    if (!processUntilPainted(watch)) {
      state.SkipWithError("the window was not painted within 5 s");
      break;
    }
    destroyUntimed(state, window);
  }
}

}  // namespace quillmere
