#pragma once

// The benchmark's table: one row per figure, with its goal and whether the goal was met,
// printed as a Markdown table that reads in a terminal; scripts/write_bench_tables.py writes the
// rows of a run at each DPI into docs/performance.md.

#include <cstdio>
#include <string>
#include <vector>

namespace bench {

enum class Verdict { None, Met, Missed };

struct Row {
  std::string measurement;
  std::string figure;
  std::string goal;  // empty for reference figures
  Verdict verdict = Verdict::None;
};

class Report {
 public:
  void Add(Row row) { rows_.push_back(std::move(row)); }
  // A reference figure without a goal.
  void AddFigure(std::string measurement, std::string figure);
  // A figure with its goal; met tells whether the goal holds.
  void AddGoal(std::string measurement, std::string figure, std::string goal, bool met);

  void Print(std::FILE* out) const;
  int MissedGoals() const;

 private:
  std::vector<Row> rows_;
};

// Formats a number with the given count of decimals.
std::string Fixed(double value, int decimals);
// A duration in microseconds, with a sensible unit and precision ("1.52 us", "38.1 us",
// "412 us", "3.21 ms").
std::string Duration(double microseconds);
// A ratio of two durations with both of them ("1.52 us / 38.1 us = 0.040").
std::string Ratio(double numerator, double denominator);
// A goal that a figure be at most `goal` ("<= 0.10", "<= 1.5").
std::string AtMost(double goal);

}  // namespace bench
