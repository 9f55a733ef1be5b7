#include "bench/timing.h"

#include <algorithm>

namespace bench {
namespace {

constexpr double kMicrosecondsPerSecond = 1e6;
// FILETIME counts in units of 100 ns.
constexpr double kMicrosecondsPerFiletimeUnit = 0.1;

double TicksPerMicrosecond() {
  static const double ticks = [] {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / kMicrosecondsPerSecond;
  }();
  return ticks;
}

double FiletimeMicroseconds(const FILETIME& time) {
  const ULONGLONG units = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return static_cast<double>(units) * kMicrosecondsPerFiletimeUnit;
}

}  // namespace

double NowMicroseconds() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / TicksPerMicrosecond();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  const size_t middle = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle),
                   values.end());
  const double upper = values[middle];
  if (values.size() % 2 != 0) return upper;
  const double lower =
      *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
  return (lower + upper) / 2;
}

double ProcessCpuMicroseconds() {
  FILETIME creation{}, exit{}, kernel{}, user{};
  if (!GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user)) return 0;
  return FiletimeMicroseconds(kernel) + FiletimeMicroseconds(user);
}

}  // namespace bench
