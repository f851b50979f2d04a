// The tool's peak resident memory: the real window, set up as the tool sets it up, typed into
// keystroke by keystroke, each keystroke translated against the loopback server, which runs in a
// separate process so that only the tool is counted. Prints the peak after start-up and after
// 1 000 translations, and exits with 1 when a translation failed.

#include "app/main_window.h"
#include "app/translation_cache.h"
#include "http/http_request.h"
#include "loopback_server.h"
#include "platform/code_page.h"
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

// A value in kB of /proc/self/status, such as "VmHWM".
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

// The loopback server in a child process; its port, and a pipe whose closing ends the child.
struct ServerProcess {
  pid_t pid = -1;
  std::uint16_t port = 0;
  UniqueFd keepAlive;
};

std::optional<ServerProcess> startServerProcess() {
  int portPipe[2];
  int lifePipe[2];
  if (::pipe(portPipe) != 0) return std::nullopt;
  if (::pipe(lifePipe) != 0) {
    ::close(portPipe[0]);
    ::close(portPipe[1]);
    return std::nullopt;
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(portPipe[0]);
    ::close(lifePipe[1]);
    const auto server = LoopbackServer::start();
    const std::uint16_t port = server ? server->port() : 0;
    if (::write(portPipe[1], &port, sizeof port) == sizeof port && port != 0) {
      char byte;
      while (::read(lifePipe[0], &byte, 1) > 0) {
      }
    }
    ::_exit(0);
  }
  ::close(portPipe[1]);
  ::close(lifePipe[0]);
  const UniqueFd portReader(portPipe[0]);
  ServerProcess process{pid, 0, UniqueFd(lifePipe[1])};
  if (pid < 0 || ::read(portReader.get(), &process.port, sizeof process.port) !=
                     static_cast<ssize_t>(sizeof process.port)) {
    process.port = 0;
  }
  return process;
}

void stopServerProcess(ServerProcess& process) {
  process.keepAlive = UniqueFd();
  if (process.pid > 0) ::waitpid(process.pid, nullptr, 0);
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

void printFigure(const char* label, std::optional<double> mib, bool withGoal) {
  if (!mib) {
    std::printf("  %-44s n/a\n", label);
    return;
  }
  std::printf("  %-44s %.1f MiB", label, *mib);
  if (withGoal)
    std::printf("   goal <= %.0f MiB  %s", kGoalMiB, *mib <= kGoalMiB ? "met" : "NOT MET");
  std::printf("\n");
}

int run(int argc, char* argv[], std::uint16_t port) {
  QApplication application(argc, argv);
  RegisterCacheCleanUp();
  InitializeHttp();
  const std::string endpoint =
      "http://127.0.0.1:" + std::to_string(port) + "/api/trans/vip/translate";
  TranslationService service = CompiledInService();
  service.endpoint = endpoint;
  int calls = 0;
  int failures = 0;
  MainWindow window([&](const Text& source, Text& translation, Text& errorText) {
    ++calls;
    const bool ok = TranslateText(source, translation, errorText, service);
    if (!ok) ++failures;
    return ok;
  });
  window.show();
  QApplication::processEvents();
  const auto afterStartUp = statusMiB("VmHWM");

  for (int keystroke = 0; calls < kTranslations; ++keystroke) {
    typeOneKey(window, keystroke);
    QApplication::processEvents();
  }
  const auto afterTranslations = statusMiB("VmHWM");

  std::printf("\nPeak resident memory (VmHWM), %s platform\n",
              QApplication::platformName().toUtf8().constData());
  printFigure("window shown", afterStartUp, false);
  printFigure("after 1 000 translations", afterTranslations, true);
  if (failures > 0) {
    std::printf("  %d of %d translations failed\n", failures, calls);
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace quillmere

int main(int argc, char* argv[]) {
  // The server process is forked before any thread of this one exists.
  auto server = quillmere::startServerProcess();
  if (!server || server->port == 0) {
    std::fprintf(stderr, "cannot start the loopback server\n");
    return 1;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int status = quillmere::run(argc, argv, server->port);
  quillmere::stopServerProcess(*server);
  return status;
}
