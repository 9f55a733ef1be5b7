#pragma once

// Restarting the Windows shell so that a changed setting takes effect at once: the shell of this
// session only, never another session's or another user's.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "app/system/session_users.h"
#include "app/system/user_environment.h"

namespace app {

// Text and title of the confirmation box.
// "Before refreshing, save your data or close the other open programs first, to avoid needless
// loss!" (with eight leading spaces)
inline constexpr std::wstring_view kRestartPrompt =
    L"        刷新前请先保存好数据或者关闭其他已打开的程序后再进行,以免造成不必要的损失！";
inline constexpr std::wstring_view kNoticeTitle = L"提示";  // "Notice"

// Yes and No, the information icon, No preselected so that Enter at once cancels.
constexpr UINT kRestartPromptStyle = MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2;

// The shell program, which the system starts again itself, or the program where it does not.
inline constexpr std::wstring_view kShellProgram = L"explorer.exe";

enum class ShellRestartOutcome {
  kRestarted,   // the shell ended and a shell window or a taskbar is back
  kComing,      // the shell ended, and a new process of the shell program appeared after the one
                // that had its chance to show the shell; nothing was started beside it
  kNoShell,     // this session shows no shell window: nothing was ended
  kOtherUser,   // the shell is another account's than the program's: nothing was ended
  kOtherShell,  // another program than the native Explorer is the shell: nothing was ended
  kNotEnded,    // the shell's process could not be ended
  kEnding,      // the shell's process was ended but has not gone yet: nothing was started
  kNotStarted,  // the shell ended and did not come back; the program runs elevated, so it
                // started none either
  kNotBack,     // the shell ended and did not come back, and none that the program started did
  kQuit,        // the program was asked to quit during the waits: it stopped, nothing was started
};

// Whether a process of the shell program runs in this session, other than the ended one, created
// at or after `since`: the shell on its way, or a process of the same program that is not the
// shell (a folder window's, a COM server's). Only one that shows the shell window or the taskbar
// counts as the shell.
bool ShellProcessStarting(DWORD endedProcessId, const FILETIME& since);

// The taskbar of this session (the window of class Shell_TrayWnd); null when there is none.
HWND TaskbarWindow();

// Full path of the shell program in the Windows directory.
std::wstring ShellProgramPath();

// What the restart depends on, so that a test can put a stand-in shell and stand-in answers in
// place.
struct ShellRestartSeams {
  HWND(WINAPI* shellWindow)() = GetShellWindow;      // this session's shell window, null when none
  HWND (*taskbarWindow)() = TaskbarWindow;           // this session's taskbar, null when none
  std::wstring (*nativeShell)() = ShellProgramPath;  // the only program that is ever ended
  BOOL(WINAPI* endProcess)(HANDLE process, UINT exitCode) = TerminateProcess;
  bool (*shellStarting)(DWORD endedProcessId, const FILETIME& since) = ShellProcessStarting;
  bool (*runsElevated)() = RunsElevated;
  std::wstring (*environment)() = UserEnvironmentBlock;  // for a shell the program starts
  DWORD endMs = 5000;                                    // how long the ended shell gets to go away
  DWORD slowEndMs = 15000;     // how much longer it gets when it is slow to go
  DWORD selfRestartMs = 5000;  // how long the system gets to start the shell again itself
  DWORD comingMs = 15000;      // how long a new process of the shell program gets to show the shell
  DWORD startMs = 15000;       // how long a shell the program started gets to show its window
  DWORD pollMs = 100;          // how often the waits look for a shell window or process
};

// What a restart came to, and what the user is told of it: empty only when the shell is back.
struct ShellRestart {
  ShellRestartOutcome outcome = ShellRestartOutcome::kNoShell;
  std::wstring report;
  std::optional<int> quitCode;  // the exit code of a WM_QUIT met during the waits
};

// Ends the process of this session's shell window, and only that process and only when it is the
// native Explorer, with an exit code after which the system starts the shell again, waits until it
// has gone, and gives the system a few seconds to start the shell again. A new process of the
// shell program gets longer to show the shell window or the taskbar. Only when neither comes, no
// newer process of the shell program is there, and the program does not run elevated, it starts
// the shell program itself, by its full path, with the user's own environment. Nothing is ended
// when the shell is another account's (SessionUsersOf) or another program. owner, when not null,
// stays disabled and painted meanwhile, under the busy pointer. A WM_QUIT during the waits stops
// the restart before anything more is done; `quitCode` then holds its exit code, which the caller
// posts again.
ShellRestart RestartShell(HWND owner, const ShellRestartSeams& seams);

// Asks the user with a Yes/No box owned by `owner`; on Yes restarts the shell (RestartShell)
// and, unless the shell is back, says what happened and what to do in a box. A WM_QUIT met during
// the restart is posted again after that box. On No nothing is done.
void ConfirmAndRestartShell(HWND owner, const ShellRestartSeams& seams = {});

}  // namespace app
