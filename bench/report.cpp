#include "bench/report.h"

#include <algorithm>
#include <array>

namespace bench {
namespace {

constexpr double kMicrosecondsPerMillisecond = 1000;

const char* VerdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::Met:
      return "met";
    case Verdict::Missed:
      return "MISSED";
    case Verdict::None:
      break;
  }
  return "";
}

}  // namespace

void Report::AddFigure(std::string measurement, std::string figure) {
  Add({std::move(measurement), std::move(figure), "", Verdict::None});
}

void Report::AddGoal(std::string measurement, std::string figure, std::string goal, bool met) {
  Add({std::move(measurement), std::move(figure), std::move(goal),
       met ? Verdict::Met : Verdict::Missed});
}

void Report::Print(std::FILE* out) const {
  const std::array<std::string, 4> header = {"Measurement", "Figure", "Goal", "Result"};
  std::array<size_t, 4> widths{};
  for (size_t c = 0; c < header.size(); ++c) widths[c] = header[c].size();
  for (const Row& row : rows_) {
    widths[0] = std::max(widths[0], row.measurement.size());
    widths[1] = std::max(widths[1], row.figure.size());
    widths[2] = std::max(widths[2], row.goal.size());
    widths[3] = std::max(widths[3], std::string(VerdictText(row.verdict)).size());
  }
  auto printLine = [&](const std::array<std::string, 4>& cells) {
    for (size_t c = 0; c < cells.size(); ++c) {
      std::fprintf(out, "| %-*s ", static_cast<int>(widths[c]), cells[c].c_str());
    }
    std::fprintf(out, "|\n");
  };
  printLine(header);
  for (size_t c = 0; c < widths.size(); ++c) {
    std::fprintf(out, "|%s", std::string(widths[c] + 2, '-').c_str());
  }
  std::fprintf(out, "|\n");
  for (const Row& row : rows_) {
    printLine({row.measurement, row.figure, row.goal, VerdictText(row.verdict)});
  }
}

int Report::MissedGoals() const {
  return static_cast<int>(std::count_if(
      rows_.begin(), rows_.end(), [](const Row& row) { return row.verdict == Verdict::Missed; }));
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Duration(double microseconds) {
  if (microseconds >= 10 * kMicrosecondsPerMillisecond) {
    return Fixed(microseconds / kMicrosecondsPerMillisecond, 1) + " ms";
  }
  if (microseconds >= kMicrosecondsPerMillisecond) {
    return Fixed(microseconds / kMicrosecondsPerMillisecond, 2) + " ms";
  }
  if (microseconds >= 100) return Fixed(microseconds, 0) + " us";
  if (microseconds >= 10) return Fixed(microseconds, 1) + " us";
  return Fixed(microseconds, 2) + " us";
}

std::string Ratio(double numerator, double denominator) {
  return Duration(numerator) + " / " + Duration(denominator) + " = " +
         Fixed(numerator / denominator, 3);
}

std::string AtMost(double goal) { return "<= " + Fixed(goal, goal < 1 ? 2 : 1); }

}  // namespace bench
