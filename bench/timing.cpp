#include "bench/timing.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

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

// Clock ticks of the Unix kernel's process accounting (USER_HZ).
constexpr double kMicrosecondsPerUnixTick = 10000;
// Fields of /proc/<pid>/stat after the command name in parentheses: utime and stime are the
// 12th and 13th.
constexpr int kUserTimeField = 12;

// User plus system CPU time of a Unix process, from /proc/<pid>/stat as drive Z: shows it.
double UnixProcessCpuMicroseconds(const std::string& pid) {
  std::ifstream stat("Z:\\proc\\" + pid + "\\stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t nameEnd = text.rfind(')');
  if (nameEnd == std::string::npos) return 0;
  std::istringstream fields(text.substr(nameEnd + 1));
  std::string field;
  double ticks = 0;
  for (int i = 1; i <= kUserTimeField + 1 && fields >> field; ++i) {
    if (i >= kUserTimeField) ticks += std::strtod(field.c_str(), nullptr);
  }
  return ticks * kMicrosecondsPerUnixTick;
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

double HelperCpuMicroseconds() {
  char pids[256] = {};
  if (GetEnvironmentVariableA("MORVANE_BENCH_HELPER_PIDS", pids, sizeof pids) == 0) return 0;
  double total = 0;
  std::istringstream list(pids);
  std::string pid;
  while (list >> pid) total += UnixProcessCpuMicroseconds(pid);
  return total;
}

}  // namespace bench
