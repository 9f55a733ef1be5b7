#pragma once

// The built program driven from outside as a user or a script would: click a button of the main
// window and read the message box that follows, or run it with a switch to its end.

#include <windows.h>

#include <string>

#include "tests/support/running_program.h"

namespace payload_tests {

// What the program did when run with a switch: its exit code (kNoExitCode when it did not end
// in time and was stopped) and the bytes it wrote to its redirected output.
struct SwitchRun {
  static constexpr DWORD kNoExitCode = 0xFFFFFFFF;
  DWORD exitCode = kNoExitCode;
  std::string output;
  DWORD startError = 0;  // why the program could not be started, when it was not
};

// Morvane.exe started with a switch and the given standard output and error; what it writes into
// a pipe is what Finish reads.
class SwitchProcess : public testing_support::RunningProgram {
 public:
  SwitchProcess(const std::wstring& arguments, testing_support::StandardOutput output)
      : RunningProgram(arguments, output) {}

  // Waits for the program to end (stops it after timeoutMs) and collects its output.
  SwitchRun Finish(DWORD timeoutMs = 60000);
};

// Runs the program with arguments, output redirected, to its end.
inline SwitchRun RunWithSwitch(const std::wstring& arguments) {
  return SwitchProcess(arguments, testing_support::StandardOutput::kPipe).Finish();
}

// Morvane.exe started as a user starts it, with its main window found.
class RunningForm : public testing_support::RunningProgram {
 public:
  // Starts Morvane.exe and waits for its main window.
  RunningForm();
  // Closes the main window and waits for the program to end; ends it by force if it does not.
  ~RunningForm();

  HWND form() const { return form_; }

  // The push button inside the main window with this caption; null when there is none.
  HWND Button(const std::wstring& caption) const;

  // Clicks the button the way a mouse click reaches it, without waiting for its handler.
  static void Click(HWND button);

  // Closes the main window; true when the program then ends with exit code 0.
  bool Close();

 private:
  HWND form_ = nullptr;
};

}  // namespace payload_tests
