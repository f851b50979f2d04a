// Runs every benchmark of the tool in one process and run, then prints the figures and the
// ratios between them that the tool's speed goals are stated in.
//
// To report a new benchmark, add a row below naming it; a ratio row names two benchmarks of the
// run, numerator first, with the goal as an upper bound when there is one.

#include "curl_poster.h"
#include "ratio_report.h"

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
    {"bare window: construct, show, first paint", "BM_BareWindow"},
};

constexpr RatioRow kRatios[] = {
    {"raw new connection / raw kept-alive", "BM_RawNewConnection", "BM_RawKeptAlive"},
    {"libcurl reused / raw kept-alive", "BM_CurlReused", "BM_RawKeptAlive"},
};

}  // namespace

int main(int argc, char* argv[]) {
  // Windows are measured off screen unless the caller chose a platform.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  benchmark::Initialize(&argc, argv);
  const QApplication application(argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const quillmere::CurlGlobalScope curl;
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
