// Runs every benchmark of the tool in one process and run, then prints the figures and the
// ratios between them that the tool's speed goals are stated in.
//
// To report a new benchmark, add a row below naming it; a ratio row names two benchmarks of the
// run, numerator first, with the goal as an upper bound when there is one.

#include "ratio_report.h"
#include "translate/translator.h"

#include <QApplication>
#include <QByteArray>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace {

using quillmere::FigureRow;
using quillmere::RatioRow;

constexpr FigureRow kFigures[] = {
    {"raw socket, connection kept alive", "BM_RawKeptAlive"},
    {"raw socket, new connection each", "BM_RawNewConnection"},
    {"libcurl, one reused handle", "BM_CurlReused"},
    {"HttpRequest as the translation calls it", "BM_HttpRequest"},
    {"TranslateText", "BM_TranslateText"},
    {"ContainsNonAscii", "BM_ContainsNonAscii"},
    {"UrlEncode", "BM_UrlEncode"},
    {"MakeSign", "BM_MakeSign"},
    {"Utf8BytesToAnsi", "BM_Utf8BytesToAnsi"},
    {"JsonObject Parse", "BM_JsonParse"},
    {"TranslationForm (the posted body)", "BM_TranslationForm"},
    {"ReadTranslationAnswer", "BM_ReadTranslationAnswer"},
    {"local work of one translation", "BM_LocalWork", 10e-6},
    {"TranslateText, source of 10 B", "BM_TranslateSource/bytes:10"},
    {"TranslateText, source of 1 KiB", "BM_TranslateSource/bytes:1024"},
    {"TranslateText, source of 64 KiB", "BM_TranslateSource/bytes:65536"},
    {"TranslateText, answer of 1 entry", "BM_TranslateAnswer/entries:1"},
    {"TranslateText, answer of 100 entries", "BM_TranslateAnswer/entries:100"},
    {"TranslateText, answer of 10 000 entries", "BM_TranslateAnswer/entries:10000"},
    {"bare window: construct, show, first paint", "BM_BareWindow"},
    {"bare window with scroll bars shown", "BM_BareWindowWithScrollBars"},
    {"real window: construct, show, first paint", "BM_MainWindow"},
};

constexpr RatioRow kRatios[] = {
    {"raw new connection / raw kept-alive", "BM_RawNewConnection", "BM_RawKeptAlive"},
    {"libcurl reused / raw kept-alive", "BM_CurlReused", "BM_RawKeptAlive"},
    {"HttpRequest / libcurl reused", "BM_HttpRequest", "BM_CurlReused"},
    {"TranslateText / libcurl reused", "BM_TranslateText", "BM_CurlReused", 1.3},
    {"TranslateText / HttpRequest", "BM_TranslateText", "BM_HttpRequest"},
    {"64 KiB source / 1 KiB source", "BM_TranslateSource/bytes:65536",
     "BM_TranslateSource/bytes:1024"},
    {"100 entries / 1 entry", "BM_TranslateAnswer/entries:100", "BM_TranslateAnswer/entries:1"},
    {"10 000 entries / 100 entries", "BM_TranslateAnswer/entries:10000",
     "BM_TranslateAnswer/entries:100", 100},
    {"real window / bare window", "BM_MainWindow", "BM_BareWindow", 1.15},
    {"real window / bare window with scroll bars", "BM_MainWindow", "BM_BareWindowWithScrollBars"},
};

}  // namespace

int main(int argc, char* argv[]) {
  // Windows are measured off screen unless the caller chose a platform.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  benchmark::Initialize(&argc, argv);
  const QApplication application(argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // As the tool does before its window shows.
  quillmere::InitializeTranslation();
  benchmark::AddCustomContext("quillmere_build_type", QUILLMERE_BUILD_TYPE);

  quillmere::RatioReporter reporter(::isatty(STDOUT_FILENO) != 0
                                        ? benchmark::ConsoleReporter::OO_Defaults
                                        : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printFigures(kFigures);
  reporter.printRatios(kRatios);
  benchmark::Shutdown();
  return 0;
}
