#pragma once

// Restarting the Windows shell so that a changed setting takes effect at once: the shell of this
// session only, never another session's or another user's.

#include <windows.h>

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
  kRestarted,   // the shell ended and a shell window is back
  kComing,      // the shell ended and the system is starting it again: its process is there,
                // its window was not yet when the wait ended; nothing was started
  kNoShell,     // this session shows no shell window: nothing was ended
  kOtherUser,   // the shell is another account's than the program's: nothing was ended
  kNotEnded,    // the shell's process could not be ended
  kEnding,      // the shell's process was ended but has not gone yet: nothing was started
  kNotStarted,  // the shell ended and did not come back; the program runs elevated, so it
                // started none either
  kNotBack,     // the shell ended and did not come back, and none that the program started did
};

// Whether the system is starting the shell again: a process of the shell program in this
// session, other than the ended one, created at or after `since`.
bool ShellProcessStarting(DWORD endedProcessId, const FILETIME& since);

// What the restart depends on, so that a test can put a stand-in shell and stand-in answers in
// place.
struct ShellRestartSeams {
  HWND(WINAPI* shellWindow)() = GetShellWindow;  // this session's shell window, null when none
  BOOL(WINAPI* endProcess)(HANDLE process, UINT exitCode) = TerminateProcess;
  bool (*shellStarting)(DWORD endedProcessId, const FILETIME& since) = ShellProcessStarting;
  bool (*runsElevated)() = RunsElevated;
  std::wstring (*environment)() = UserEnvironmentBlock;  // for a shell the program starts
  DWORD endMs = 5000;                                    // how long the ended shell gets to go away
  DWORD slowEndMs = 15000;     // how much longer it gets when it is slow to go
  DWORD selfRestartMs = 5000;  // how long the system gets to start the shell again itself
  DWORD comingMs = 15000;      // how long a shell the system is starting gets to show its window
  DWORD startMs = 15000;       // how long a shell the program started gets to show its window
  DWORD pollMs = 100;          // how often the waits look for a shell window or process
};

// Full path of the shell program in the Windows directory.
std::wstring ShellProgramPath();

// What a restart came to, and what the user is told of it: empty when the shell is back or on
// its way.
struct ShellRestart {
  ShellRestartOutcome outcome = ShellRestartOutcome::kNoShell;
  std::wstring report;
};

// Ends the process of this session's shell window, and only that process, with an exit code
// after which the system starts the shell again, waits until it has gone, and gives the system a
// few seconds to start the shell again. Only when neither a shell window nor a new shell process
// comes, and the program does not run elevated, it starts the shell program itself, by its full
// path, with the user's own environment. Nothing is ended when the shell is another account's
// (SessionUsersOf). owner, when not null, stays disabled and painted meanwhile, under the busy
// pointer.
ShellRestart RestartShell(HWND owner, const ShellRestartSeams& seams);

// Asks the user with a Yes/No box owned by `owner`; on Yes restarts the shell (RestartShell)
// and, when that failed, says why and what to do in a box. On No nothing is done.
void ConfirmAndRestartShell(HWND owner, const ShellRestartSeams& seams = {});

}  // namespace app
