// The restarts that end nothing or stop early, and what the user is told of them in the box that
// follows the confirmation: the shell of another account or another program, a shell that cannot
// be ended, and a request to quit during the waits.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/system/session_users.h"
#include "app/system/shell_restart.h"
#include "tests/app/system/shell_stand_ins.h"
#include "tests/support/form1_access.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_paths.h"

namespace {

using namespace shell_stand_ins;

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
  EXPECT_NE(restart.report.find(L"当前登录的用户是“PC\\signed-in”"), std::wstring::npos);
  EXPECT_TRUE(shell.running());
  EXPECT_EQ(startsAttempted, 0);
  EXPECT_TRUE(recording_.Starts().empty());
}

// Another program is the shell (a kiosk's, a replacement shell), or a copy of explorer.exe outside
// the Windows directory: it is not ended, nothing is started, and the user is told which it is.
TEST_F(ShellRestart, AShellThatIsNotTheNativeExplorerIsNotEnded) {
  const std::wstring directory = testing_support::TestOutputPath(L"other-shell");
  CreateDirectoryW(directory.c_str(), nullptr);
  const std::wstring copy = directory + L"\\explorer.exe";
  ASSERT_TRUE(CopyFileW(testing_support::ShellStandInPath().c_str(), copy.c_str(), FALSE));
  struct Case {
    const char* name;
    std::wstring program;
    const wchar_t* toldName;
  };
  const Case cases[] = {
      {"another program", testing_support::ShellStandInPath(), L"shell_stand_in.exe”"},
      {"explorer.exe elsewhere", copy, L"other-shell\\explorer.exe”"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const StandInShell shell(L"kiosk", test.program);
    ASSERT_NE(shell.window(), nullptr);
    shellWindow = shell.window();
    app::ShellRestartSeams seams = StandInSeams();
    seams.nativeShell = [] { return WindowsDirectory() + L"\\explorer.exe"; };

    const app::ShellRestart restart = app::RestartShell(nullptr, seams);
    EXPECT_EQ(restart.outcome, app::ShellRestartOutcome::kOtherShell);
    EXPECT_TRUE(shell.running()) << "another program's shell was ended";
    EXPECT_TRUE(Contains(restart.report, test.toldName)) << "which program is the shell";
    EXPECT_TRUE(Contains(restart.report, L"不是 Windows 的资源管理器"));
    EXPECT_EQ(startsAttempted, 0);
  }
  EXPECT_TRUE(recording_.Starts().empty());
}

// The boxes of ConfirmAndRestartShell as the user sees them: the confirmation is answered Yes, and
// the text and icon of the report box that follows are read before it is answered OK. A thread
// timer looks for each box while the box runs its own message loop.
struct BoxesSeen {
  HWND owner = nullptr;
  int seen = 0;
  std::wstring report;
  HICON icon = nullptr;
  bool ownerEnabledDuringTheBox = true;
};
BoxesSeen boxes;

// The icon of the box's icon control: its static with SS_ICON, whose identifier differs between
// platforms.
HICON BoxIcon(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      return reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    }
  }
  return nullptr;
}

void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD) {
  const HWND box = GetLastActivePopup(boxes.owner);
  if (box == nullptr || box == boxes.owner || !IsWindowVisible(box)) return;
  if (boxes.seen++ == 0) {
    PostMessageW(box, WM_COMMAND, IDYES, 0);
    return;
  }
  wchar_t text[2048] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 2048);  // a message box's text is its static 0xFFFF
  boxes.report = text;
  boxes.icon = BoxIcon(box);
  boxes.ownerEnabledDuringTheBox = IsWindowEnabled(boxes.owner);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

void ConfirmAndRestart(HWND owner, const app::ShellRestartSeams& seams) {
  boxes = {};
  boxes.owner = owner;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerBoxes);
  app::ConfirmAndRestartShell(owner, seams);
  KillTimer(nullptr, timer);
}

BOOL WINAPI CannotEnd(HANDLE, UINT) {
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

// The shell cannot be ended (a protected process, access denied): nothing is started, the owner
// is enabled again, and an error box says so and how to sign out without a taskbar.
TEST_F(ShellRestart, AShellThatCannotBeEndedIsToldWithTheErrorIcon) {
  const testing_support::LoadedForm1 form1;
  const HWND form = form1.windows().form;
  const StandInShell shell(L"shell");
  ASSERT_NE(shell.window(), nullptr);
  shellWindow = shell.window();
  app::ShellRestartSeams seams = StandInSeams();
  seams.endProcess = CannotEnd;

  ConfirmAndRestart(form, seams);
  EXPECT_EQ(boxes.seen, 2) << "the confirmation and the report";
  EXPECT_TRUE(Contains(boxes.report, L"未能结束资源管理器（explorer.exe）的进程"));
  EXPECT_TRUE(Contains(boxes.report, L"Ctrl+Alt+Delete，单击“注销”"));
  EXPECT_EQ(boxes.icon, LoadIconW(nullptr, IDI_ERROR));
  EXPECT_FALSE(boxes.ownerEnabledDuringTheBox) << "the report box is not modal to the window";
  EXPECT_TRUE(IsWindowEnabled(form)) << "the window stayed disabled";
  EXPECT_TRUE(shell.running());
  EXPECT_EQ(startsAttempted, 0);
  EXPECT_TRUE(recording_.Starts().empty());
}

// A WM_QUIT posted while the restart waits for the shell's end: the waits see it and stop, nothing
// is started beside a shell that Windows may still bring back, the report box stays up to be read,
// and the quit is posted again after it, with its exit code, for the program's own loop.
constexpr int kQuitCode = 7;
BOOL WINAPI EndAndQuit(HANDLE process, UINT exitCode) {
  PostQuitMessage(kQuitCode);
  return TerminateProcess(process, exitCode);
}

TEST_F(ShellRestart, AQuitDuringTheWaitsStopsBeforeAnyStartAndIsPostedAgainAfterTheBox) {
  const testing_support::LoadedForm1 form1;
  const HWND form = form1.windows().form;
  const StandInShell shell(L"shell");
  ASSERT_NE(shell.window(), nullptr);
  shellWindow = shell.window();
  app::ShellRestartSeams seams = StandInSeams();
  seams.endProcess = EndAndQuit;
  seams.selfRestartMs = 60000;  // only the quit ends this wait in time

  const ULONGLONG began = GetTickCount64();
  ConfirmAndRestart(form, seams);
  EXPECT_LT(GetTickCount64() - began, 30000u) << "the quit did not end the wait";
  EXPECT_EQ(boxes.seen, 2) << "the report box was closed by the quit, or never shown";
  EXPECT_TRUE(Contains(boxes.report, L"本程序正在退出"));
  EXPECT_EQ(boxes.icon, LoadIconW(nullptr, IDI_WARNING));
  EXPECT_EQ(startsAttempted, 0) << "Explorer was started after the quit";
  EXPECT_TRUE(recording_.Starts().empty());
  MSG quit{};
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit was lost";
  EXPECT_EQ(quit.wParam, static_cast<WPARAM>(kQuitCode));
}

}  // namespace
