#pragma once

// The built program started as a process of its own, and the ways a test finds and waits for
// its windows from outside, as a user's tools would.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Polls `condition` every few milliseconds, pumping this thread's messages in between, until it
// holds or timeoutMs has passed. Returns the last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// Dispatches every message waiting in this thread's queue.
void PumpMessages();

std::wstring WindowText(HWND window);
std::wstring ClassNameOf(HWND window);
SIZE ClientSize(HWND window);
// The window's rectangle in the client coordinates of its parent.
RECT RectInParent(HWND window);

class RunningProgram {
 public:
  // Starts Morvane.exe and waits until it is idle for input.
  RunningProgram();
  // Ends the process if it is still running.
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD threadId() const { return threadId_; }

  // The visible top-level windows of the process.
  std::vector<HWND> VisibleWindows() const;

  // Waits for a visible top-level window of the process with this caption; null on timeout.
  HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs = 10000) const;

  // Waits until no window of the process with this caption is visible.
  bool WaitForWindowGone(const std::wstring& caption, DWORD timeoutMs = 10000) const;

  // The window with the keyboard focus in the program's user-interface thread.
  HWND FocusWindow() const;

  // Waits for the process to end; true when it did, with its exit code.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode) const;

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  DWORD threadId_ = 0;
};

}  // namespace testing_support
