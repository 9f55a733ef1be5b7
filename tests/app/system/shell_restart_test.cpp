// The shell restart through its seams: shell_stand_in.exe in place of the session's shell, so
// that the prefix's own desktop process is never ended, and command_recorder.exe in place of
// explorer.exe in the Windows directory and of the command interpreter, so that every start is
// seen and nothing real runs.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/system/session_users.h"
#include "app/system/shell_restart.h"
#include "tests/support/command_recording.h"
#include "tests/support/running_program.h"
#include "tests/support/test_paths.h"
#include "win/unique_handle.h"

namespace {

using testing_support::CommandRecording;
using testing_support::RunningProgram;
using testing_support::StandardOutput;

// The exit code the restart gives the shell it ends.
constexpr DWORD kEndedExitCode = 1;

// A process with one window that stands in for a shell.
class StandInShell : public RunningProgram {
 public:
  explicit StandInShell(const std::wstring& caption)
      : RunningProgram(testing_support::ShellStandInPath(), caption, StandardOutput::kNone),
        window_(WaitForWindow(caption)) {}
  HWND window() const { return window_; }

 private:
  HWND window_;
};

// What the seams hand out as the session's shell window: the shell while its window lives, then
// the one that the system brought back, if any.
HWND shellWindow = nullptr;
HWND returningWindow = nullptr;
HWND WINAPI StandInShellWindow() { return IsWindow(shellWindow) ? shellWindow : returningWindow; }

app::ShellRestartSeams StandInSeams() {
  app::ShellRestartSeams seams;
  seams.shellWindow = StandInShellWindow;
  seams.selfRestartMs = 1000;
  seams.startMs = 3000;
  return seams;
}

std::wstring WindowsDirectory() {
  wchar_t directory[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(directory, MAX_PATH);
  return std::wstring(directory, length);
}

bool ProcessRuns(DWORD processId) {
  const win::KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

// Stand-ins for the command interpreter and the native Explorer, and the prefix's own desktop
// process, which must outlive every test.
class ShellRestart : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(recording_.ready()) << "the command recorder does not stand in; run through ctest";
    GetWindowThreadProcessId(GetDesktopWindow(), &desktopProcess_);
    ASSERT_TRUE(ProcessRuns(desktopProcess_));
  }
  void TearDown() override {
    EXPECT_TRUE(ProcessRuns(desktopProcess_)) << "the prefix's desktop process was ended";
    shellWindow = returningWindow = nullptr;
  }

  CommandRecording recording_{{L"cmd.exe", WindowsDirectory() + L"\\explorer.exe"}};
  DWORD desktopProcess_ = 0;
};

TEST_F(ShellRestart, EndsOnlyThisSessionsShellAndLeavesItsReturnToTheSystem) {
  const StandInShell shell(L"shell"), bystander(L"bystander"), returning(L"returning");
  ASSERT_NE(shell.window(), nullptr);
  ASSERT_NE(bystander.window(), nullptr);
  ASSERT_NE(returning.window(), nullptr);
  shellWindow = shell.window();
  returningWindow = returning.window();

  const app::ShellRestart restart = app::RestartShell(nullptr, StandInSeams());
  EXPECT_EQ(restart.outcome, app::ShellRestartOutcome::kRestarted);
  EXPECT_TRUE(restart.report.empty());
  DWORD exitCode = 0;
  EXPECT_TRUE(shell.WaitForExit(0, &exitCode)) << "the shell was not waited for";
  EXPECT_EQ(exitCode, kEndedExitCode);
  EXPECT_TRUE(bystander.running()) << "a process other than the shell's was ended";
  EXPECT_TRUE(returning.running());
  EXPECT_FALSE(recording_.WaitForStart(1000)) << "a program started although the shell came back";
}

TEST_F(ShellRestart, WithNoShellBackTheNativeExplorerStartsAndAFailureIsTold) {
  const StandInShell shell(L"shell");
  ASSERT_NE(shell.window(), nullptr);
  shellWindow = shell.window();

  const app::ShellRestart restart = app::RestartShell(nullptr, StandInSeams());
  EXPECT_EQ(restart.outcome, app::ShellRestartOutcome::kNotBack);
  EXPECT_NE(restart.report.find(L"没有重新启动"), std::wstring::npos) << "did not come back";
  EXPECT_FALSE(shell.running());
  // Explorer by its full path in the Windows directory, never a command interpreter.
  const std::vector<testing_support::RecordedStart> starts = recording_.Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].commandLine, L"\"" + WindowsDirectory() + L"\\explorer.exe\"");
  EXPECT_EQ(starts[0].directory, WindowsDirectory());

  // No shell window at all: nothing ended, nothing started, and the user is told.
  shellWindow = nullptr;
  const app::ShellRestart none = app::RestartShell(nullptr, StandInSeams());
  EXPECT_EQ(none.outcome, app::ShellRestartOutcome::kNoShell);
  EXPECT_NE(none.report.find(L"没有找到"), std::wstring::npos);
  EXPECT_EQ(recording_.Starts().size(), 1u);
}

// The program runs as an administrator who is not the person signed in.
app::SessionUsers HelperRunsTheProgram(HWND) {
  app::SessionUsers users;
  users.program = {{1, 1, 0, 0, 0, 0, 0, 5, 0x20, 0, 0, 0}, L"PC\\helper"};
  users.shellOwner = app::ShellOwner::kKnown;
  users.shell = {{1, 1, 0, 0, 0, 0, 0, 5, 0x21, 0, 0, 0}, L"PC\\signed-in"};
  return users;
}

TEST_F(ShellRestart, AnotherAccountsShellIsNotEnded) {
  const StandInShell shell(L"shell");
  ASSERT_NE(shell.window(), nullptr);
  shellWindow = shell.window();
  const app::SessionUsersSource previous = app::SetSessionUsersSource(HelperRunsTheProgram);
  const app::ShellRestart restart = app::RestartShell(nullptr, StandInSeams());
  app::SetSessionUsersSource(previous);
  EXPECT_EQ(restart.outcome, app::ShellRestartOutcome::kOtherUser);
  EXPECT_NE(restart.report.find(L"账户“PC\\helper”"), std::wstring::npos) << "which account runs";
  EXPECT_NE(restart.report.find(L"账户“PC\\signed-in”"), std::wstring::npos);
  EXPECT_TRUE(shell.running());
  EXPECT_TRUE(recording_.Starts().empty());
}

}  // namespace
