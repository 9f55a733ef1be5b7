#pragma once

// The built program started as a process of its own and driven from outside as a user would:
// click a button of the main window, read and answer the message box that follows.

#include <windows.h>

#include <functional>
#include <string>

namespace payload_tests {

// Polls condition every few milliseconds until it holds or timeoutMs has passed; returns the
// last result.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

// A message box as the user sees it.
struct MessageBoxSeen {
  HWND window = nullptr;
  std::wstring title;
  std::wstring text;
};

// Waits for a message box of the process with this id; window is null when none came.
MessageBoxSeen WaitForMessageBoxOf(DWORD processId, DWORD timeoutMs = 20000);

// Presses the box's OK button and waits until the box is gone; false when it stays.
bool AnswerMessageBox(const MessageBoxSeen& box);

// What the program did when run with a switch: its exit code (kNoExitCode when it did not end
// in time and was stopped) and the bytes it wrote to its redirected output.
struct SwitchRun {
  static constexpr DWORD kNoExitCode = 0xFFFFFFFF;
  DWORD exitCode = kNoExitCode;
  std::string output;
};

// Morvane.exe started with a switch. With redirectOutput its standard output and error go into
// a pipe that Finish reads; otherwise it inherits no handle and finds any console on its own.
class SwitchProcess {
 public:
  SwitchProcess(const std::wstring& arguments, bool redirectOutput);
  ~SwitchProcess();
  SwitchProcess(const SwitchProcess&) = delete;
  SwitchProcess& operator=(const SwitchProcess&) = delete;

  DWORD processId() const { return processId_; }

  // Waits for the program to end (stops it after timeoutMs) and collects its output.
  SwitchRun Finish(DWORD timeoutMs = 60000);

 private:
  HANDLE process_ = nullptr;
  HANDLE output_ = nullptr;  // read end of the pipe
  DWORD processId_ = 0;
};

// Runs the program with arguments, output redirected, to its end.
inline SwitchRun RunWithSwitch(const std::wstring& arguments) {
  return SwitchProcess(arguments, true).Finish();
}

class RunningForm {
 public:
  // Starts Morvane.exe and waits for its main window.
  RunningForm();
  // Closes the main window and waits for the program to end; ends it by force if it does not.
  ~RunningForm();
  RunningForm(const RunningForm&) = delete;
  RunningForm& operator=(const RunningForm&) = delete;

  HWND form() const { return form_; }

  // The push button inside the main window with this caption; null when there is none.
  HWND Button(const std::wstring& caption) const;

  // Clicks the button the way a mouse click reaches it, without waiting for its handler.
  static void Click(HWND button);

  MessageBoxSeen WaitForMessageBox(DWORD timeoutMs = 20000) const {
    return WaitForMessageBoxOf(processId_, timeoutMs);
  }
  static bool Answer(const MessageBoxSeen& box) { return AnswerMessageBox(box); }

  // Closes the main window; true when the program then ends with exit code 0.
  bool Close();

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND form_ = nullptr;
};

}  // namespace payload_tests
