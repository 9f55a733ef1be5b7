#pragma once

// The built program started as a process of its own, and the ways a test finds, reads and
// answers its windows from outside, as a user's tools would.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/message_box_watch.h"
#include "tests/support/message_pump.h"
#include "tests/support/program_launch.h"
#include "win/unique_handle.h"

namespace testing_support {

std::wstring WindowText(HWND window);
std::wstring ClassNameOf(HWND window);
SIZE ClientSize(HWND window);
// The window's rectangle in the client coordinates of its parent.
RECT RectInParent(HWND window);

// The visible tooltip (of the platform's tooltips_class32) that the window owns; null while none
// shows.
HWND ShownTooltipOf(HWND owner);

// Presses the box's OK button and waits until the box is gone; false when it stays.
bool AnswerMessageBox(const MessageBoxSeen& box);

// What a started program is given as its standard output and error.
using StandardOutput = launch::StandardOutput;

class RunningProgram {
 public:
  // Starts Morvane.exe as a user does and waits until it is idle for input.
  RunningProgram();
  // Starts Morvane.exe with the arguments. With redirectOutput its standard output and error go
  // into a pipe that ReadOutput reads; otherwise it inherits no handle and finds any console on
  // its own.
  RunningProgram(const std::wstring& arguments, bool redirectOutput);
  // The same for another program file (a copy of Morvane.exe elsewhere, a test tool).
  RunningProgram(const std::wstring& program, const std::wstring& arguments, bool redirectOutput);
  // Starts Morvane.exe, or another program file, with the arguments and the given standard
  // output and error.
  RunningProgram(const std::wstring& arguments, StandardOutput output);
  RunningProgram(const std::wstring& program, const std::wstring& arguments, StandardOutput output);
  // Ends the process if it is still running.
  ~RunningProgram();

  bool started() const { return static_cast<bool>(started_); }
  // GetLastError of the step that failed to start the program; 0 when it started.
  DWORD startError() const { return started_.error; }
  bool running() const;
  DWORD processId() const { return started_.processId; }
  DWORD threadId() const { return started_.threadId; }

  // Waits until the program waits for input with nothing left to do.
  void WaitForInputIdle(DWORD timeoutMs) const;

  // The visible top-level windows of the process.
  std::vector<HWND> VisibleWindows() const;

  // Waits for a visible top-level window of the process with this caption; null on timeout.
  HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs = 10000) const;

  // Waits until no window of the process with this caption is visible.
  bool WaitForWindowGone(const std::wstring& caption, DWORD timeoutMs = 10000) const;

  // Waits for a message box of the process; its window is null when none came.
  MessageBoxSeen WaitForMessageBox(DWORD timeoutMs = 20000) const;

  // The window with the keyboard focus in the program's user-interface thread.
  HWND FocusWindow() const;

  // Waits for the process to end; true when it did, with its exit code.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode) const;

  // Ends the process now with this exit code and waits for it to be gone.
  void Stop(UINT exitCode) const;

  // Everything the program wrote to its redirected output, once it has ended.
  std::string ReadOutput() const;

 private:
  launch::Started started_;
};

}  // namespace testing_support
