#pragma once

// Timing for the benchmark: a high-resolution clock, medians of repeated samples and the
// process's CPU time.

#include <windows.h>

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

// User plus kernel CPU time of this process so far, in microseconds (GetProcessTimes).
double ProcessCpuMicroseconds();

}  // namespace bench
