#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

// Benchmarks are named as the console shows them without the time suffix: "BM_CurlReused",
// "BM_TranslateText/entries:100". Every figure is the median of the run's repetitions of the
// real (wall-clock) time per iteration, or the single measurement when it was not repeated.

// One benchmark's figure, with the upper bound the project aims at, if any.
struct FigureRow {
  std::string_view label;
  std::string_view benchmark;
  std::optional<double> goalSeconds = std::nullopt;
};

// The ratio of two benchmarks' figures from the same run, with its goal, if any.
struct RatioRow {
  std::string_view label;
  std::string_view numerator;
  std::string_view denominator;
  std::optional<double> goal = std::nullopt;
};

// The console report, and besides it the medians it saw, for tables of figures and ratios at
// the end of the run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  using benchmark::ConsoleReporter::ConsoleReporter;

  void ReportRuns(const std::vector<Run>& runs) override;

  // Seconds per iteration; nullopt when the benchmark did not run or failed.
  std::optional<double> medianSeconds(std::string_view benchmark) const;

  void printFigures(std::span<const FigureRow> rows) const;
  void printRatios(std::span<const RatioRow> rows) const;

 private:
  std::map<std::string, double, std::less<>> medians_;
};

}  // namespace quillmere
