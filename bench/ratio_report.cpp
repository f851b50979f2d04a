#include "ratio_report.h"

#include <algorithm>
#include <cstdio>

namespace quillmere {
namespace {

std::string benchmarkName(const benchmark::BenchmarkReporter::Run& run) {
  const benchmark::BenchmarkName& name = run.run_name;
  return name.args.empty() ? name.function_name : name.function_name + "/" + name.args;
}

std::string formatSeconds(double seconds) {
  struct Unit {
    double scale;
    const char* symbol;
  };
  static constexpr Unit kUnits[] = {{1e9, "ns"}, {1e6, "us"}, {1e3, "ms"}, {1, "s"}};
  // The largest unit that keeps the number at 1 or above.
  const Unit* unit = &kUnits[0];
  for (const Unit& candidate : kUnits) {
    if (seconds * candidate.scale >= 1) unit = &candidate;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.4g %s", seconds * unit->scale, unit->symbol);
  return text;
}

std::string formatRatio(double ratio) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", ratio);
  return text;
}

std::string verdict(std::string_view goalText, bool met) {
  return "goal <= " + std::string(goalText) + (met ? "  met" : "  NOT MET");
}

template <typename Row>
std::size_t labelWidth(std::span<const Row> rows) {
  std::size_t width = 0;
  for (const Row& row : rows) width = std::max(width, row.label.size());
  return width;
}

void printRow(std::ostream& out, std::size_t width, std::string_view label, std::string_view value,
              std::string_view note) {
  out << "  " << label << std::string(width - label.size() + 2, ' ') << value;
  if (!note.empty()) out << "   " << note;
  out << '\n';
}

std::string missing(std::string_view benchmark) {
  return "n/a (" + std::string(benchmark) + " did not run)";
}

}  // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  benchmark::ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.error_occurred || run.iterations <= 0) continue;
    const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
    const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" &&
                        run.aggregate_unit == benchmark::kTime;
    if (single || median) {
      medians_[benchmarkName(run)] =
          run.real_accumulated_time / static_cast<double>(run.iterations);
    }
  }
}

std::optional<double> RatioReporter::medianSeconds(std::string_view benchmark) const {
  const auto found = medians_.find(benchmark);
  if (found == medians_.end()) return std::nullopt;
  return found->second;
}

void RatioReporter::printFigures(std::span<const FigureRow> rows) const {
  std::ostream& out = GetOutputStream();
  const std::size_t width = labelWidth(rows);
  out << "\nFigures (median real time per iteration)\n";
  for (const FigureRow& row : rows) {
    const std::optional<double> seconds = medianSeconds(row.benchmark);
    if (!seconds) {
      printRow(out, width, row.label, missing(row.benchmark), "");
      continue;
    }
    const std::string note =
        row.goalSeconds ? verdict(formatSeconds(*row.goalSeconds), *seconds <= *row.goalSeconds)
                        : "";
    printRow(out, width, row.label, formatSeconds(*seconds), note);
  }
}

void RatioReporter::printRatios(std::span<const RatioRow> rows) const {
  std::ostream& out = GetOutputStream();
  const std::size_t width = labelWidth(rows);
  out << "\nRatios (of the medians above, same run)\n";
  for (const RatioRow& row : rows) {
    const std::optional<double> numerator = medianSeconds(row.numerator);
    const std::optional<double> denominator = medianSeconds(row.denominator);
    if (!numerator || !denominator || *denominator <= 0) {
      printRow(out, width, row.label, missing(numerator ? row.denominator : row.numerator), "");
      continue;
    }
    const double ratio = *numerator / *denominator;
    const std::string note = row.goal ? verdict(formatRatio(*row.goal), ratio <= *row.goal) : "";
    printRow(out, width, row.label, formatRatio(ratio), note);
  }
  out << std::flush;
}

}  // namespace quillmere
