// The restarts that end nothing or stop early, and what the user is told of them in the box that
// follows the confirmation: the shell of another account or another program, a shell that cannot
// be ended, and a request to quit during the waits.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/system/session_users.h"
#include "app/system/shell_restart.h"
#include "tests/app/system/shell_stand_ins.h"
#include "tests/support/form1_access.h"
#include "tests/support/message_box_watch.h"
#include "tests/support/session_accounts.h"
#include "tests/support/test_paths.h"

namespace {

using namespace shell_stand_ins;

std::wstring NativeExplorer() { return WindowsDirectory() + L"\\explorer.exe"; }

// The shell of another account (the program runs as an administrator who is not the person signed
// in); another program as the shell (a kiosk's, a replacement shell); a copy of explorer.exe
// outside the Windows directory: none is ended, nothing is started, and the user is told whose or
// which it is.
TEST_F(ShellRestart, AShellOfAnotherAccountOrNotTheNativeExplorerIsNotEnded) {
  const std::wstring directory = testing_support::TestOutputPath(L"other-shell");
  CreateDirectoryW(directory.c_str(), nullptr);
  const std::wstring copy = directory + L"\\explorer.exe";
  ASSERT_TRUE(CopyFileW(testing_support::ShellStandInPath().c_str(), copy.c_str(), FALSE));
  struct Case {
    const char* name;
    app::SessionUsersSource users;  // null: the accounts as they are
    std::wstring program;
    app::ShellRestartOutcome outcome;
    std::vector<std::wstring> told;
  };
  const Case cases[] = {
      {"another account's",
       testing_support::HelperBesideSignedIn,
       testing_support::ShellStandInPath(),
       app::ShellRestartOutcome::kOtherUser,
       {L"账户“PC\\helper”", L"当前登录的用户是“PC\\signed-in”"}},
      {"another program",
       nullptr,
       testing_support::ShellStandInPath(),
       app::ShellRestartOutcome::kOtherShell,
       {L"shell_stand_in.exe”", L"不是 Windows 的资源管理器"}},
      {"explorer.exe elsewhere",
       nullptr,
       copy,
       app::ShellRestartOutcome::kOtherShell,
       {L"other-shell\\explorer.exe”", L"不是 Windows 的资源管理器"}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const StandInShell shell(L"kiosk", test.program);
    ASSERT_NE(shell.window(), nullptr);
    shellWindow = shell.window();
    app::ShellRestartSeams seams = StandInSeams();
    if (test.users == nullptr) seams.nativeShell = NativeExplorer;
    const app::SessionUsersSource previous = app::SetSessionUsersSource(test.users);
    const app::ShellRestart restart = app::RestartShell(nullptr, seams);
    app::SetSessionUsersSource(previous);
    EXPECT_EQ(restart.outcome, test.outcome);
    EXPECT_TRUE(shell.running()) << "the shell was ended";
    for (const std::wstring& part : test.told) {
      EXPECT_TRUE(Contains(restart.report, part)) << "whose or which the shell is";
    }
    EXPECT_EQ(startsAttempted, 0);
  }
  EXPECT_TRUE(recording_.Starts().empty());
}

// The boxes of ConfirmAndRestartShell as the user sees them: the confirmation is answered Yes, and
// the report box that follows is read, with whether its owner took input meanwhile, and answered
// OK.
struct BoxesSeen {
  int seen = 0;
  testing_support::MessageBoxSeen report;
  bool ownerEnabledDuringTheBox = true;
};

BoxesSeen ConfirmAndRestart(HWND owner, const app::ShellRestartSeams& seams) {
  BoxesSeen boxes;
  testing_support::AnswerMessageBoxes(
      owner, [&] { app::ConfirmAndRestartShell(owner, seams); },
      [&](HWND box) {
        if (boxes.seen++ == 0) return IDYES;
        boxes.report = testing_support::ReadMessageBox(box);
        boxes.ownerEnabledDuringTheBox = IsWindowEnabled(owner);
        return IDOK;
      });
  return boxes;
}

BOOL WINAPI CannotEnd(HANDLE, UINT) {
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

// A WM_QUIT posted while the restart waits for the shell's end.
constexpr int kQuitCode = 7;
BOOL WINAPI EndAndQuit(HANDLE process, UINT exitCode) {
  PostQuitMessage(kQuitCode);
  return TerminateProcess(process, exitCode);
}

// The shell cannot be ended (a protected process, access denied): an error box says so and how to
// sign out without a taskbar. A quit during the waits: the waits see it and stop, nothing is
// started beside a shell that Windows may still bring back, the report box stays up to be read,
// and the quit is posted again after it, with its exit code, for the program's own loop. Either
// way the report box is modal to the window, which takes input again after it.
TEST_F(ShellRestart, AShellNotEndedOrAQuitDuringTheWaitsStartsNothingAndIsTold) {
  struct Case {
    const char* name;
    BOOL(WINAPI* endProcess)(HANDLE, UINT);
    std::vector<std::wstring> told;
    const wchar_t* icon;
    bool quits;
  };
  const Case cases[] = {
      {"the shell cannot be ended",
       CannotEnd,
       {L"未能结束资源管理器（explorer.exe）的进程", L"Ctrl+Alt+Delete，单击“注销”"},
       IDI_ERROR,
       false},
      {"a quit during the waits", EndAndQuit, {L"本程序正在退出"}, IDI_WARNING, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const testing_support::LoadedForm1 form1;
    const HWND form = form1.windows().form;
    const StandInShell shell(L"shell");
    ASSERT_NE(shell.window(), nullptr);
    shellWindow = shell.window();
    app::ShellRestartSeams seams = StandInSeams();
    seams.endProcess = c.endProcess;
    seams.selfRestartMs = 60000;  // only the quit ends this wait in time

    const ULONGLONG began = GetTickCount64();
    const BoxesSeen boxes = ConfirmAndRestart(form, seams);
    EXPECT_LT(GetTickCount64() - began, 30000u) << "the quit did not end the wait";
    EXPECT_EQ(boxes.seen, 2) << "the report box was closed by the quit, or never shown";
    for (const std::wstring& part : c.told) EXPECT_TRUE(Contains(boxes.report.text, part));
    EXPECT_EQ(boxes.report.icon, LoadIconW(nullptr, c.icon));
    EXPECT_FALSE(boxes.ownerEnabledDuringTheBox) << "the report box is not modal to the window";
    EXPECT_TRUE(IsWindowEnabled(form)) << "the window stayed disabled";
    EXPECT_EQ(shell.running(), !c.quits) << "the shell that could not be ended is gone";
    EXPECT_EQ(startsAttempted, 0) << "Explorer was started";
    EXPECT_TRUE(recording_.Starts().empty());
    MSG quit{};
    ASSERT_EQ(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, c.quits)
        << "the quit was lost, or one came from nowhere";
    EXPECT_EQ(quit.wParam, static_cast<WPARAM>(c.quits ? kQuitCode : 0));
  }
}

}  // namespace
