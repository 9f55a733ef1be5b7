#pragma once

// What the shell restart tests put in place of the session's shell: shell_stand_in.exe for the
// shell, so that the prefix's own desktop process is never ended, and command_recorder.exe for
// explorer.exe in the Windows directory and for the command interpreter, so that every start is
// seen and nothing real runs.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "app/system/shell_restart.h"
#include "tests/support/command_recording.h"
#include "tests/support/running_program.h"
#include "tests/support/test_paths.h"

namespace shell_stand_ins {

// A process with one window that stands in for a shell.
class StandInShell : public testing_support::RunningProgram {
 public:
  explicit StandInShell(const std::wstring& caption,
                        const std::wstring& program = testing_support::ShellStandInPath());
  HWND window() const { return window_; }

 private:
  HWND window_;
};

// What the seams hand out as the session's shell window: `shellWindow` while it lives, then
// `returningWindow`, the one that came back, if any. The taskbar seam hands out `taskbarWindow`.
extern HWND shellWindow;
extern std::atomic<HWND> returningWindow;
extern std::atomic<HWND> taskbarWindow;

// How many times the restart was about to start Explorer: it asks for the environment of the
// shell it starts right before it starts it, on its own thread, so that a count of 0 means that
// nothing was started, however late a recorded start would have come.
extern std::atomic<int> startsAttempted;

bool NothingStarting(DWORD, const FILETIME&);
bool NotElevated();
bool Elevated();

// Seams over the stand-ins: not elevated, nothing starting, short waits, and the stand-in's own
// program as the native shell.
app::ShellRestartSeams StandInSeams();

std::wstring WindowsDirectory();
bool ProcessRuns(DWORD processId);
bool Contains(const std::wstring& text, const std::wstring& part);

// Stand-ins for the command interpreter and the native Explorer, and the prefix's own desktop
// process, which must outlive every test.
class ShellRestart : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  testing_support::CommandRecording recording_{
      {L"cmd.exe", WindowsDirectory() + L"\\explorer.exe"}};
  DWORD desktopProcess_ = 0;
};

}  // namespace shell_stand_ins
