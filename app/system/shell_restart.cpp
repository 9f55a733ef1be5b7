#include "app/system/shell_restart.h"

#include "app/system/message_wait.h"
#include "app/system/process_launch.h"
#include "app/system/session_users.h"
#include "win/unique_handle.h"

namespace app {
namespace {

// The exit code the ended shell gets: not 0, which would tell the system that it quit on purpose.
constexpr UINT kEndedExitCode = 1;

// "The desktop (Explorer) of this session was not found; nothing was refreshed."
constexpr wchar_t kNoShellText[] = L"没有找到本会话的桌面（资源管理器），没有刷新。";
// "The desktop (Explorer) could not be ended; nothing was refreshed. Sign out and in again for
// the setting to take effect."
constexpr wchar_t kNotEndedText[] =
    L"无法结束桌面（资源管理器），没有刷新。请注销后重新登录，使设置生效。";
// "The desktop (Explorer) was ended but did not start again. Press Ctrl+Shift+Esc to open the
// Task Manager, choose File, Run new task, type explorer and press Enter."
constexpr wchar_t kNotBackText[] =
    L"桌面（资源管理器）已经结束，但没有重新启动。请按 Ctrl+Shift+Esc 打开任务管理器，"
    L"选择“文件”→“运行新任务”，输入 explorer 后按回车。";

// The wait for a new shell window: one that is not the ended shell's.
struct ShellWait {
  const ShellRestartSeams& seams;
  HWND ended;
};

bool ShellWindowIsBack(void* context) {
  const auto* wait = static_cast<const ShellWait*>(context);
  HWND shell = wait->seams.shellWindow();
  return shell != nullptr && shell != wait->ended && IsWindow(shell);
}

// Waits until a shell window other than the ended one is there, for at most timeoutMs.
bool WaitForShellWindow(const ShellRestartSeams& seams, HWND ended, DWORD timeoutMs,
                        const DisabledWindowScope& disabled) {
  ShellWait wait{seams, ended};
  return WaitUntilDispatchingMessages(ShellWindowIsBack, &wait, timeoutMs, seams.pollMs, disabled);
}

// The process that owns the window, opened to be ended and waited for; empty when it cannot be.
// The window is asked again once the process is open, so that the handle is never that of
// another process which took over the identifier of one that ended meanwhile.
win::KernelHandle OpenWindowProcess(HWND window) {
  DWORD processId = 0;
  if (GetWindowThreadProcessId(window, &processId) == 0) return {};
  win::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
  DWORD stillId = 0;
  if (!process || GetWindowThreadProcessId(window, &stillId) == 0 || stillId != processId) {
    return {};
  }
  return process;
}

ShellRestart Outcome(ShellRestartOutcome outcome, std::wstring report = {}) {
  return {outcome, std::move(report)};
}

}  // namespace

std::wstring ShellProgramPath() { return WindowsProgramPath(kShellProgram); }

// The shell is ended and waited for here, rather than through the Restart Manager, because every
// step of this way is an ordinary call whose result the program sees and can report: only the
// process of this session's shell window is ended, its end is awaited before anything starts,
// the system's own restart of the shell, as the signed-in user, gets its chance first, and only
// then the native Explorer is started by full path from the Windows directory, which WOW64 does
// not redirect. It needs no DLL beyond those the program imports already.
ShellRestart RestartShell(HWND owner, const ShellRestartSeams& seams) {
  HWND shell = seams.shellWindow();
  if (shell == nullptr || !IsWindow(shell)) {
    return Outcome(ShellRestartOutcome::kNoShell, kNoShellText);
  }
  const SessionUsers users = SessionUsersOf(shell);
  if (!ActsForSignedInUser(users)) {
    return Outcome(ShellRestartOutcome::kOtherUser, OtherUserRestartNotice(users));
  }
  const DisabledWindowScope disabled(owner);
  const win::KernelHandle process = OpenWindowProcess(shell);
  if (!process || !TerminateProcess(process.get(), kEndedExitCode) ||
      !WaitDispatchingMessages(process.get(), seams.endMs, disabled)) {
    return Outcome(ShellRestartOutcome::kNotEnded, kNotEndedText);
  }
  if (WaitForShellWindow(seams, shell, seams.selfRestartMs, disabled)) {
    return Outcome(ShellRestartOutcome::kRestarted);
  }
  const std::wstring program = ShellProgramPath();
  const std::wstring directory = program.substr(0, program.find_last_of(L'\\'));
  const win::KernelHandle started =
      StartProcess(program, L"\"" + program + L"\"", directory, SW_SHOWNORMAL);
  if (started && WaitForShellWindow(seams, shell, seams.startMs, disabled)) {
    return Outcome(ShellRestartOutcome::kRestarted);
  }
  return Outcome(ShellRestartOutcome::kNotBack, kNotBackText);
}

void ConfirmAndRestartShell(HWND owner, const ShellRestartSeams& seams) {
  const std::wstring prompt(kRestartPrompt);
  const std::wstring title(kNoticeTitle);
  if (MessageBoxW(owner, prompt.c_str(), title.c_str(), kRestartPromptStyle) != IDYES) return;
  const ShellRestart restart = RestartShell(owner, seams);
  if (restart.outcome == ShellRestartOutcome::kRestarted) return;
  MessageBoxW(owner, restart.report.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace app
