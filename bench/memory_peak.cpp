// The tool's peak resident memory: the real window, set up as the tool sets it up, typed into
// keystroke by keystroke, each keystroke translated against the loopback server, which runs in a
// process of its own so that only the tool is counted. Exits with 1 when a translation failed.
//
// With --floor, the floor that linking sets instead: the same program showing the bare window of
// twelve plain widgets, translating nothing. Each figure needs a process started on its own, as
// the tool is started: a process forked or started by this one counts fewer library pages.

#include "app/main_window.h"
#include "app/translation_cache.h"
#include "bare_window.h"
#include "loopback_server.h"
#include "translate/translator.h"
#include "unique_fd.h"

#include <QApplication>
#include <QByteArray>
#include <QString>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace quillmere {
namespace {

constexpr int kTranslations = 1000;
constexpr double kGoalMiB = 35;
// What is typed, one character per keystroke; the box is emptied (one more change) whenever it
// holds this many characters.
constexpr std::string_view kTyped = "get user name ";
constexpr int kLongestSource = 40;

// A value of /proc/self/status given in kB, such as "VmHWM", in MiB.
std::optional<double> statusMiB(std::string_view key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(key) && line.size() > key.size() && line[key.size()] == ':') {
      return std::stod(line.substr(key.size() + 1)) / 1024;
    }
  }
  return std::nullopt;
}

// The loopback server in a process of its own, serving until this object goes.
class ServerProcess {
 public:
  // Forks, so call it before this process has a thread of its own. Port 0: no server.
  ServerProcess() {
    int portPipe[2];
    int lifePipe[2];
    if (::pipe(portPipe) != 0) return;
    if (::pipe(lifePipe) != 0) {
      ::close(portPipe[0]);
      ::close(portPipe[1]);
      return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(portPipe[0]);
      ::close(lifePipe[1]);
      serve(portPipe[1], lifePipe[0]);
    }
    ::close(portPipe[1]);
    ::close(lifePipe[0]);
    const UniqueFd portReader(portPipe[0]);
    life_ = UniqueFd(lifePipe[1]);
    if (pid_ < 0 || ::read(portReader.get(), &port_, sizeof port_) != sizeof port_) port_ = 0;
  }
  ~ServerProcess() {
    life_ = UniqueFd();
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
  }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  std::uint16_t port() const { return port_; }

 private:
  // In the child: writes the port, then serves until the parent closes its end of `life`.
  [[noreturn]] static void serve(int portFd, int lifeFd) {
    const auto server = LoopbackServer::start();
    const std::uint16_t port = server ? server->port() : 0;
    if (::write(portFd, &port, sizeof port) == sizeof port && server) {
      char byte;
      while (::read(lifeFd, &byte, 1) > 0) {
      }
    }
    ::_exit(0);
  }

  pid_t pid_ = -1;
  std::uint16_t port_ = 0;
  UniqueFd life_;
};

void showUntilPainted(QWidget& window) {
  window.show();
  for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

// One keystroke into the source box: a character typed, or the box emptied when it is full.
void typeOneKey(MainWindow& window, int keystroke) {
  EditBox& box = *window.编辑框_欲翻译文本;
  if (box.toPlainText().size() >= kLongestSource) {
    box.clear();
    return;
  }
  box.insertPlainText(QString(QChar(kTyped[static_cast<std::size_t>(keystroke) % kTyped.size()])));
}

void printFigure(const char* label, std::optional<double> mib, bool withGoal = false) {
  if (!mib) {
    std::printf("  %-48s n/a\n", label);
    return;
  }
  std::printf("  %-48s %.1f MiB", label, *mib);
  if (withGoal) {
    std::printf("   goal <= %.0f MiB  %s", kGoalMiB, *mib <= kGoalMiB ? "met" : "NOT MET");
  }
  std::printf("\n");
}

// The floor: the bare window in a process set up as the tool's, with nothing translated.
int printFloor(int argc, char* argv[]) {
  QApplication application(argc, argv);
  InitializeTranslation();
  const auto window = makeBareWindow();
  showUntilPainted(*window);
  printFigure("floor: bare window, set up as the tool", statusMiB("VmHWM"));
  return 0;
}

struct ToolPeaks {
  std::optional<double> windowShown;
  std::optional<double> afterTranslations;
  int failures = 0;
};

// The tool as main() sets it up, translating through the loopback server on `port`.
ToolPeaks toolPeaks(int argc, char* argv[], std::uint16_t port) {
  QApplication application(argc, argv);
  RegisterCacheCleanUp();
  InitializeTranslation();
  const std::string endpoint =
      "http://127.0.0.1:" + std::to_string(port) + "/api/trans/vip/translate";
  TranslationService service = CompiledInService();
  service.endpoint = endpoint;
  int calls = 0;
  ToolPeaks peaks;
  MainWindow window([&](const Text& source, Text& translation, Text& errorText) {
    ++calls;
    const bool ok = TranslateText(source, translation, errorText, service);
    if (!ok) ++peaks.failures;
    return ok;
  });
  showUntilPainted(window);
  peaks.windowShown = statusMiB("VmHWM");
  for (int keystroke = 0; calls < kTranslations; ++keystroke) {
    typeOneKey(window, keystroke);
    QApplication::processEvents();
  }
  peaks.afterTranslations = statusMiB("VmHWM");
  return peaks;
}

int run(int argc, char* argv[]) {
  const auto librariesLoaded = statusMiB("VmHWM");
  std::optional<ToolPeaks> tool;
  {
    const ServerProcess server;
    if (server.port() == 0) {
      std::fprintf(stderr, "cannot start the loopback server\n");
      return 1;
    }
    tool = toolPeaks(argc, argv, server.port());
  }
  std::printf("\nPeak resident memory (VmHWM), %s platform\n",
              qEnvironmentVariable("QT_QPA_PLATFORM").toUtf8().constData());
  printFigure("libraries loaded (start of main)", librariesLoaded);
  printFigure("tool: window shown", tool->windowShown);
  printFigure("tool: after 1 000 translations", tool->afterTranslations, true);
  if (tool->failures > 0) {
    std::printf("  %d of %d translations failed\n", tool->failures, kTranslations);
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace quillmere

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 2 && std::string_view(argv[1]) == "--floor") return quillmere::printFloor(argc, argv);
  return quillmere::run(argc, argv);
}
