#include "app/system/shell_restart.h"

#include <tlhelp32.h>

#include "app/system/message_wait.h"
#include "app/system/process_launch.h"
#include "app/system/session_users.h"
#include "win/unique_handle.h"

namespace app {
namespace {

// The exit code the ended shell gets. Windows starts the shell again when it ends (the Winlogon
// value AutoRestartShell, 1 by default: "the interface restarts automatically" if it stops
// unexpectedly, in Microsoft's registry reference for Winlogon), except after exit code 1, which
// `taskkill /f` and Task Manager give: projects that end the shell report that it stays down
// after `taskkill /f` even with AutoRestartShell on, and comes back after PowerShell's
// Stop-Process, which ends a process with -1 (the .NET compiler platform's integration tests,
// dotnet/roslyn, "Terminate Explorer to avoid interference with integration tests"; CPython's
// report "Inconsistent exitcode for terminated child processes on Windows" on which tools end
// with 1). Code 0 would be an ordinary exit. So the shell is ended as Stop-Process ends it.
constexpr UINT kEndedExitCode = 0xFFFFFFFF;

// "No running Explorer was found, so it cannot be refreshed. Sign out and in again for the
// setting to take effect."
constexpr wchar_t kNoShellText[] =
    L"找不到正在运行的资源管理器，因此无法刷新。请注销后重新登录，使设置生效。";
// "The process of Explorer (explorer.exe) could not be ended, so it cannot be refreshed. Sign out
// and in again for the setting to take effect."
constexpr wchar_t kNotEndedText[] =
    L"未能结束资源管理器（explorer.exe）的进程，因此无法刷新。请注销后重新登录，使设置生效。";
// "Explorer (explorer.exe) has not fully exited yet. Once it has, Windows starts it again by
// itself, so this program does not start another. If the taskbar does not come back within a
// minute, sign out and in again."
constexpr wchar_t kEndingText[] =
    L"资源管理器（explorer.exe）尚未完全退出。退出后，Windows 会自动重新启动它，因此本程序不再另外"
    L"启动。如果 1 分钟后任务栏仍未出现，请注销后重新登录。";
// "Explorer (explorer.exe) was ended but did not start again."
constexpr wchar_t kNotBackText[] = L"资源管理器（explorer.exe）已结束，但未重新启动。";
// "Explorer (explorer.exe) was ended, but Windows did not start it again. This program runs with
// administrator rights (started with "Run as administrator", for example), and an Explorer it
// started would run with them too; therefore it did not start one." The forum link's message
// words the same situation the same way.
constexpr wchar_t kNotStartedText[] =
    L"资源管理器（explorer.exe）已结束，但 Windows 未重新启动它。本程序正以管理员权限运行"
    L"（例如通过“以管理员身份运行”启动），由它启动的资源管理器也会以管理员权限运行，"
    L"因此本程序未启动资源管理器。";
// "Start Explorer like this: 1. Press Ctrl+Shift+Esc to open Task Manager; where its window is
// small, click More details first. 2. Windows 11: click Run new task at the top of the window;
// Windows 10: click File → Run new task; Windows 7: click File → New Task (Run...). 3. Type
// explorer and press Enter. Where it still has not come back, sign out and in again."
constexpr wchar_t kHowToStartText[] =
    L"\n\n请这样启动资源管理器：\n"
    L"1. 按 Ctrl+Shift+Esc 打开任务管理器；\n"
    L"    如果窗口很小，先点“详细信息”。\n"
    L"2. Windows 11：点窗口上方的“运行新任务”；\n"
    L"    Windows 10：点“文件”→“运行新任务”；\n"
    L"    Windows 7：点“文件”→“新建任务(运行...)”。\n"
    L"3. 输入 explorer，按回车。\n\n"
    L"如果仍未恢复，请注销后重新登录。";

// The wait for the shell's return: a shell window that is not the ended shell's, or, while
// lookForProcess holds, a new process of the shell program on its way.
struct ShellReturnWait {
  const ShellRestartSeams& seams;
  HWND ended;
  DWORD endedProcessId;
  FILETIME since;  // just before the shell was ended
  bool lookForProcess;
  bool processSeen = false;
};

bool ShellWindowIsBack(const ShellReturnWait& wait) {
  HWND shell = wait.seams.shellWindow();
  return shell != nullptr && shell != wait.ended && IsWindow(shell);
}

bool ShellIsReturning(void* context) {
  auto* wait = static_cast<ShellReturnWait*>(context);
  if (ShellWindowIsBack(*wait)) return true;
  if (!wait->lookForProcess || !wait->seams.shellStarting(wait->endedProcessId, wait->since)) {
    return false;
  }
  wait->processSeen = true;
  return true;
}

// Waits until the shell returns as `wait` describes it, for at most timeoutMs.
bool WaitForShell(ShellReturnWait& wait, DWORD timeoutMs, const DisabledWindowScope& disabled) {
  return WaitUntilDispatchingMessages(ShellIsReturning, &wait, timeoutMs, wait.seams.pollMs,
                                      disabled);
}

// The process that owns the window, opened to be ended and waited for; empty when it cannot be.
// The window is asked again once the process is open, so that the handle is never that of
// another process which took over the identifier of one that ended meanwhile.
win::KernelHandle OpenWindowProcess(HWND window, DWORD* processId) {
  if (GetWindowThreadProcessId(window, processId) == 0) return {};
  win::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, *processId));
  DWORD stillId = 0;
  if (!process || GetWindowThreadProcessId(window, &stillId) == 0 || stillId != *processId) {
    return {};
  }
  return process;
}

// TerminateProcess only begins the end: it "initiates termination and returns immediately"
// (its documentation), and a thread held in a driver, by network input and output for example,
// keeps the process until the driver lets it go; projects that end the shell report shells that
// take long to go (GPII's Windows support: "Explorer still gets in a state where it doesn't
// completely shutdown"). So once it returned true the process is ending, and the wait goes on
// for slowEndMs beyond endMs. A process still there after that is reported as ending, never as
// one that could not be ended, and nothing is started beside it: the system starts the shell
// again once it has gone.
bool WaitForEnd(HANDLE process, const ShellRestartSeams& seams,
                const DisabledWindowScope& disabled) {
  return WaitDispatchingMessages(process, seams.endMs, disabled) ||
         WaitDispatchingMessages(process, seams.slowEndMs, disabled);
}

// Starts the native shell program by its full path in the Windows directory, which WOW64 does not
// redirect, from that directory, with the user's own environment; where that cannot be made,
// with this program's, which is the same user's (the program never starts the shell elevated).
bool StartShell(const ShellRestartSeams& seams) {
  const std::wstring program = ShellProgramPath();
  if (program.empty()) return false;
  const std::wstring directory = program.substr(0, program.find_last_of(L'\\'));
  return static_cast<bool>(StartProcess(program, L"\"" + program + L"\"", directory, SW_SHOWNORMAL,
                                        seams.environment()));
}

ShellRestart Outcome(ShellRestartOutcome outcome, std::wstring report = {}) {
  return {outcome, std::move(report)};
}

bool IsShellProgram(const wchar_t* fileName) {
  return CompareStringOrdinal(fileName, -1, kShellProgram.data(),
                              static_cast<int>(kShellProgram.size()), TRUE) == CSTR_EQUAL;
}

// Whether the process runs in the session and was created at or after `since`.
bool StartedInSessionSince(DWORD processId, DWORD session, const FILETIME& since) {
  DWORD itsSession = 0;
  if (!ProcessIdToSessionId(processId, &itsSession) || itsSession != session) return false;
  const win::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  FILETIME created{}, exited{}, kernel{}, user{};
  return process && GetProcessTimes(process.get(), &created, &exited, &kernel, &user) &&
         CompareFileTime(&created, &since) >= 0;
}

// The box's icon for each outcome that the user is told of: a warning where the program held
// back on purpose, an error otherwise.
UINT ReportIcon(ShellRestartOutcome outcome) {
  switch (outcome) {
    case ShellRestartOutcome::kEnding:
    case ShellRestartOutcome::kNotStarted:
      return MB_ICONWARNING;
    default:
      return MB_ICONERROR;
  }
}

}  // namespace

std::wstring ShellProgramPath() { return WindowsProgramPath(kShellProgram); }

bool ShellProcessStarting(DWORD endedProcessId, const FILETIME& since) {
  DWORD session = 0;
  if (!ProcessIdToSessionId(GetCurrentProcessId(), &session)) return false;
  const win::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ProcessID != endedProcessId && IsShellProgram(entry.szExeFile) &&
        StartedInSessionSince(entry.th32ProcessID, session, since)) {
      return true;
    }
  }
  return false;
}

// The shell is ended, and brought back by the system, rather than through the Restart Manager,
// which would also reopen the user's folder windows. Its documentation says that RmRestart starts
// nothing that ran elevated or as another user than the one signed in, and projects that restart
// the shell through it report shells that did not come back (the PowerToys runner's "explorer
// doesn't always restart after successful update", where a watcher that starts it by hand was
// added; an installer's "MSI: Odd no-taskbar-or-explorer-or-desktop state" in ownCloud's client),
// a shutdown that hangs (ExplorerPatcher's "Improve shutdown behavior for explorer.exe"), and
// other programs ended along with it, so that a start by hand had to be built on top anyway
// (GPII's "Improved explorer restart", which dropped it). Here every step is an ordinary call
// whose result the program sees and reports: only the process of this session's shell window is
// ended, with a code after which the system starts the shell again as the signed-in user; the
// program waits for that, counts a new shell process of the session as the shell on its way so
// that it never starts a second one beside it, and starts the shell itself only where nothing
// came and it does not run elevated. The cost is that folder windows are not reopened.
ShellRestart RestartShell(HWND owner, const ShellRestartSeams& seams) {
  HWND shell = seams.shellWindow();
  if (shell == nullptr || !IsWindow(shell)) {
    return Outcome(ShellRestartOutcome::kNoShell, kNoShellText);
  }
  const SessionUsers users = SessionUsersOf(shell);
  if (!ActsForSignedInUser(users)) {
    return Outcome(ShellRestartOutcome::kOtherUser, OtherUserRestartNotice(users));
  }
  DisabledWindowScope disabled(owner, IDC_WAIT);
  ShellReturnWait wait{seams, shell, 0, {}, true};
  const win::KernelHandle process = OpenWindowProcess(shell, &wait.endedProcessId);
  GetSystemTimeAsFileTime(&wait.since);
  if (!process || !seams.endProcess(process.get(), kEndedExitCode)) {
    return Outcome(ShellRestartOutcome::kNotEnded, kNotEndedText);
  }
  if (!WaitForEnd(process.get(), seams, disabled)) {
    return Outcome(ShellRestartOutcome::kEnding, kEndingText);
  }
  disabled.ShowPointer(IDC_APPSTARTING);
  if (WaitForShell(wait, seams.selfRestartMs, disabled)) {
    if (!wait.processSeen) return Outcome(ShellRestartOutcome::kRestarted);
    wait.lookForProcess = false;
    return Outcome(WaitForShell(wait, seams.comingMs, disabled) ? ShellRestartOutcome::kRestarted
                                                                : ShellRestartOutcome::kComing);
  }
  if (seams.runsElevated()) {
    return Outcome(ShellRestartOutcome::kNotStarted,
                   std::wstring(kNotStartedText) + kHowToStartText);
  }
  wait.lookForProcess = false;
  if (StartShell(seams) && WaitForShell(wait, seams.startMs, disabled)) {
    return Outcome(ShellRestartOutcome::kRestarted);
  }
  return Outcome(ShellRestartOutcome::kNotBack, std::wstring(kNotBackText) + kHowToStartText);
}

void ConfirmAndRestartShell(HWND owner, const ShellRestartSeams& seams) {
  const std::wstring prompt(kRestartPrompt);
  const std::wstring title(kNoticeTitle);
  if (MessageBoxW(owner, prompt.c_str(), title.c_str(), kRestartPromptStyle) != IDYES) return;
  const ShellRestart restart = RestartShell(owner, seams);
  if (restart.report.empty()) return;
  MessageBoxW(owner, restart.report.c_str(), title.c_str(), MB_OK | ReportIcon(restart.outcome));
}

}  // namespace app
