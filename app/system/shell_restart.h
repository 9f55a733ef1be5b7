#pragma once

// Restarting the Windows shell so that a changed setting takes effect at once: the shell of this
// session only, never another session's or another user's.

#include <windows.h>

#include <string>
#include <string_view>

namespace app {

// Text and title of the confirmation box.
// "Before refreshing, save your data or close the other open programs first, to avoid needless
// loss!" (with eight leading spaces)
inline constexpr std::wstring_view kRestartPrompt =
    L"        刷新前请先保存好数据或者关闭其他已打开的程序后再进行,以免造成不必要的损失！";
inline constexpr std::wstring_view kNoticeTitle = L"提示";  // "Notice"

// Yes and No, the information icon, No preselected so that Enter at once cancels.
constexpr UINT kRestartPromptStyle = MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2;

// The shell program started when the system does not start the shell again itself.
inline constexpr std::wstring_view kShellProgram = L"explorer.exe";

enum class ShellRestartOutcome {
  kRestarted,  // the shell ended and a shell window is back
  kNoShell,    // this session shows no shell window: nothing was ended
  kOtherUser,  // the shell is another account's than the program's: nothing was ended
  kNotEnded,   // the shell's process could not be ended, or did not end in time
  kNotBack,    // the shell ended, but no shell window came back
};

// What the restart depends on, so that a test can put a stand-in shell in its place.
struct ShellRestartSeams {
  HWND(WINAPI* shellWindow)() = GetShellWindow;  // this session's shell window, null when none
  DWORD endMs = 5000;                            // how long the ended shell gets to go away
  DWORD selfRestartMs = 5000;  // how long the system gets to start the shell again itself
  DWORD startMs = 15000;       // how long a shell we started gets to show its window
  DWORD pollMs = 100;          // how often the wait looks for a shell window
};

// Full path of the shell program in the Windows directory.
std::wstring ShellProgramPath();

// What a restart came to, and what the user is told of it: empty when the shell is back.
struct ShellRestart {
  ShellRestartOutcome outcome = ShellRestartOutcome::kNoShell;
  std::wstring report;
};

// Ends the process of this session's shell window, and only that process, waits until it has
// gone, and gives the system a few seconds to start the shell again itself; only when no shell
// window comes back, starts the shell program by its full path. Nothing is ended when the shell
// is another account's (SessionUsersOf). owner, when not null, stays disabled and painted
// meanwhile.
ShellRestart RestartShell(HWND owner, const ShellRestartSeams& seams);

// Asks the user with a Yes/No box owned by `owner`; on Yes restarts the shell (RestartShell)
// and, when that failed, says why in a box. On No nothing is done.
void ConfirmAndRestartShell(HWND owner, const ShellRestartSeams& seams = {});

}  // namespace app
