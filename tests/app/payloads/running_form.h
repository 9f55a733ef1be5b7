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

  // Waits for a message box of the program; window is null when none came.
  MessageBoxSeen WaitForMessageBox(DWORD timeoutMs = 20000) const;

  // Presses the box's OK button and waits until the box is gone; false when it stays.
  static bool Answer(const MessageBoxSeen& box);

  // Closes the main window; true when the program then ends with exit code 0.
  bool Close();

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND form_ = nullptr;
};

}  // namespace payload_tests
