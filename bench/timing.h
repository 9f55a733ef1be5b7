#pragma once

// Timing for the benchmark: a high-resolution clock, medians of repeated samples and the
// process's CPU time.

#include <windows.h>

#include <utility>
#include <vector>

namespace bench {

// Microseconds on the performance counter since an arbitrary start.
double NowMicroseconds();

// The median of the values (the mean of the two middle ones for an even count); 0 when empty.
double Median(std::vector<double> values);

// Times `samples` samples of `batch` back-to-back calls of action() and returns the median time
// of one call in microseconds. Batching keeps the clock's own cost and resolution out of short
// operations; the median keeps out the samples that a context switch spoiled. One untimed call
// comes first so that caches and lazily created objects do not count.
template <typename Action>
double MedianMicroseconds(int samples, int batch, Action&& action) {
  action();
  std::vector<double> perCall;
  perCall.reserve(static_cast<size_t>(samples));
  for (int sample = 0; sample < samples; ++sample) {
    const double start = NowMicroseconds();
    for (int i = 0; i < batch; ++i) action();
    perCall.push_back((NowMicroseconds() - start) / batch);
  }
  return Median(std::move(perCall));
}

// The same for two actions whose times are to be compared: their samples alternate, so that a
// change in the machine's load falls on both alike. Returns the medians of a and of b.
template <typename ActionA, typename ActionB>
std::pair<double, double> PairedMedianMicroseconds(int samples, int batch, ActionA&& a,
                                                   ActionB&& b) {
  a();
  b();
  std::vector<double> perCallA, perCallB;
  for (int sample = 0; sample < samples; ++sample) {
    double start = NowMicroseconds();
    for (int i = 0; i < batch; ++i) a();
    perCallA.push_back((NowMicroseconds() - start) / batch);
    start = NowMicroseconds();
    for (int i = 0; i < batch; ++i) b();
    perCallB.push_back((NowMicroseconds() - start) / batch);
  }
  return {Median(std::move(perCallA)), Median(std::move(perCallB))};
}

// User plus kernel CPU time of this process so far, in microseconds (GetProcessTimes).
double ProcessCpuMicroseconds();

// CPU time, in microseconds, of the helper processes named (by Unix process id) in
// MORVANE_BENCH_HELPER_PIDS, read from their /proc/<pid>/stat through drive Z:; 0 when none
// are named. scripts/bench.sh names the Wine server and the X server.
double HelperCpuMicroseconds();

}  // namespace bench
