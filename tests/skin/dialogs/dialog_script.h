#pragma once

// A script of steps that a thread timer runs while a dialog's modal loop holds the test thread,
// for the tests of the platform's dialogs over a skinned form.

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace dialog_tests {

inline constexpr UINT kTickMs = 30;
inline constexpr ULONGLONG kScriptTimeoutMs = 15000;  // the longest a script may take

// Runs steps one after another from a timer of this thread while a dialog's modal loop runs. A
// step that returns false is tried again at the next tick (its window is not up yet). Should the
// script stall, the active dialog is cancelled so that the test ends.
class Script {
 public:
  explicit Script(std::vector<std::function<bool()>> steps)
      : steps_(std::move(steps)), deadline_(GetTickCount64() + kScriptTimeoutMs) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, kTickMs, Tick);
  }
  ~Script() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;

  bool finished() const { return next_ == steps_.size(); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script* script = current_;
    if (script == nullptr || script->finished() || script->running_) return;
    if (GetTickCount64() > script->deadline_) {
      PostMessageW(GetActiveWindow(), WM_COMMAND, IDCANCEL, 0);
      return;
    }
    script->running_ = true;  // a step may run a nested message loop
    if (script->steps_[script->next_]()) ++script->next_;
    script->running_ = false;
  }

  static inline Script* current_ = nullptr;
  std::vector<std::function<bool()>> steps_;
  size_t next_ = 0;
  bool running_ = false;
  ULONGLONG deadline_;
  UINT_PTR timer_ = 0;
};

}  // namespace dialog_tests
