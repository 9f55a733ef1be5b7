#pragma once

// A seeded, bounded storm of hostile messages over the skinned windows of one form: the
// twenty-one messages the skin's window procedure handles, with parameters from the far ends of
// their ranges, interleaved with enabling and disabling, resizing, focus changes, repaints,
// message dispatch and taking the skin off and putting it back. After every step the skin's
// invariants are checked for every window of the thread. The same seed gives the same actions.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "win/unique_handle.h"

namespace reliability {

struct StormLimits {
  int steps;
  DWORD milliseconds;  // the storm also ends once this much time has passed
};

inline constexpr StormLimits kStormLimits = {1000, 10000};

struct StormResult {
  int steps = 0;
  std::string faults;  // empty when every invariant held after every step
  std::string recentActions;
};

class MessageStorm {
 public:
  // `targets` lists the windows a step may act on, asked afresh before every step (windows come
  // and go). `allowed(window, message)` may veto a message for a window whose own procedure
  // would turn it into a command of the program.
  using TargetList = std::function<std::vector<HWND>()>;
  using MessageFilter = std::function<bool(HWND window, UINT message, LPARAM lParam)>;

  MessageStorm(uint32_t seed, HWND form, TargetList targets, MessageFilter allowed);

  StormResult Run(const StormLimits& limits);

 private:
  std::string Step();
  std::string SendHostileMessage(HWND target);
  std::string ChangeWindow(HWND target);

  int Coordinate();
  LPARAM Point();
  WPARAM Key();
  LPARAM OtherWindow(const std::vector<HWND>& targets);
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[std::uniform_int_distribution<size_t>(0, items.size() - 1)(random_)];
  }
  bool Chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(random_) < percent; }

  std::mt19937 random_;
  HWND form_;
  TargetList targets_;
  MessageFilter allowed_;
  std::vector<HWND> currentTargets_;
  win::MemoryDc scratchDc_;
};

// A seed for a storm: MORVANE_STORM_SEED from the environment when set (to replay a failure),
// otherwise one drawn from the clock.
uint32_t StormSeed();

// One storm over windows made afresh for it, which are gone when it returns.
using StormOver = std::function<StormResult(uint32_t seed, const StormLimits& limits)>;

// Runs the storm twice with one seed, printed beside `what` (the windows it is over) and kept as
// the test property `seedProperty`, and expects no fault and no skinned window left after each
// run. The first run lets the system create what it caches on first use (window DCs of nested
// paints); the second repeats the first one's steps exactly, however long they take, so that it
// meets nothing the first did not let the system cache, and must end with exactly the GDI
// objects it began with.
void RunStormTwice(const char* what, const char* seedProperty, const StormOver& storm);

}  // namespace reliability
