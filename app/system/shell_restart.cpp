#include "app/system/shell_restart.h"

#include <tlhelp32.h>

#include "app/system/message_wait.h"
#include "app/system/process_image.h"
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

// How the user signs out where the taskbar may be gone: "press Ctrl+Alt+Delete, click Sign out,
// then sign in again". The security screen offers 注销 on every Windows from 7 on.
constexpr wchar_t kSignOutStep[] = L"请按 Ctrl+Alt+Delete，单击“注销”，然后重新登录";
constexpr wchar_t kForTheSetting[] = L"，使设置生效。";  // "for the setting to take effect."

// "No running Explorer was found, so it cannot be refreshed."
constexpr wchar_t kNoShellText[] = L"找不到正在运行的资源管理器，因此无法刷新。";
// "The process of Explorer (explorer.exe) could not be ended, so it cannot be refreshed."
constexpr wchar_t kNotEndedText[] = L"未能结束资源管理器（explorer.exe）的进程，因此无法刷新。";
// "Explorer (explorer.exe) has not fully exited yet. Once it has, Windows starts it again by
// itself, so this program does not start another. If the taskbar does not come back within a
// minute, "
constexpr wchar_t kEndingText[] =
    L"资源管理器（explorer.exe）尚未完全退出。退出后，Windows 会自动重新启动它，因此本程序不再另外"
    L"启动。如果 1 分钟后任务栏仍未出现，";
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
// "Explorer (explorer.exe) was ended. A new Explorer process has just started, but the taskbar
// has not appeared yet, therefore this program does not start another. If the taskbar does not
// appear within a minute:"
constexpr wchar_t kComingText[] =
    L"资源管理器（explorer.exe）已结束。刚有新的资源管理器进程启动，但任务栏尚未出现，"
    L"因此本程序不再另外启动。如果 1 分钟后任务栏仍未出现：";
// "This program is closing: the refresh stopped, and this program did not start Explorer
// (explorer.exe)."
constexpr wchar_t kQuitText[] =
    L"本程序正在退出，刷新已停止，本程序未启动资源管理器（explorer.exe）。";
// "Start Explorer like this: 1. Press Ctrl+Shift+Esc to open Task Manager; where its window is
// small, click More details first. 2. Windows 11 22H2 and later: click Run new task at the top of
// the window; Windows 11 before 22H2, Windows 10, 8.1 and 8: click File → Run new task;
// Windows 7: click File → New Task (Run...). 3. Type explorer and press the Enter key. Where it
// still has not come back, " and the sign-out step.
// Task Manager took a command bar with Run new task at the top in Windows 11 22H2; 21H2, like
// Windows 8 to 10, keeps it in the File menu, and Windows 7 names the item New Task (Run...)
// (Microsoft's announcement of Windows 11 2022 Update, "the redesigned Task Manager"; field
// reports: "Analysis of Windows 11's new Task Manager features", where the commands that start and
// end tasks moved to the empty space at the top, and the evolution of Task Manager from Windows 7
// to 11 on The Windows Club, where Windows 8 brought the small view with More details).
constexpr wchar_t kHowToStartText[] =
    L"\n\n请这样启动资源管理器：\n"
    L"1. 按 Ctrl+Shift+Esc 打开任务管理器；\n"
    L"    如果窗口很小，先单击左下角的“详细信息”。\n"
    L"2. Windows 11 22H2 及更高版本：单击窗口上方的“运行新任务”；\n"
    L"    Windows 11 22H2 之前的版本、Windows 10、8.1 和 8：单击“文件”→“运行新任务”；\n"
    L"    Windows 7：单击“文件”→“新建任务(运行...)”。\n"
    L"3. 输入 explorer，按 Enter 键。\n\n"
    L"如果仍未恢复，";

// `text`, then the sign-out step and `ending`.
std::wstring ThenSignOut(const wchar_t* text, const wchar_t* ending = L"。") {
  return std::wstring(text) + kSignOutStep + ending;
}

// What the user is told where the shell is not back: what happened, then how to start Explorer.
std::wstring WithHowToStart(const wchar_t* text) {
  return std::wstring(text) + ThenSignOut(kHowToStartText);
}

// "The program that shows the desktop and the taskbar is <path>, not Windows' Explorer
// (explorer.exe). This program does not end other programs, so it cannot be refreshed."
std::wstring OtherShellText(const std::wstring& image) {
  const std::wstring text = L"显示桌面和任务栏的程序是“" + image +
                            L"”，不是 Windows 的资源管理器（explorer.exe）。"
                            L"本程序不会结束其他程序，因此无法刷新。";
  return ThenSignOut(text.c_str(), kForTheSetting);
}

// The wait for the shell's return: a shell window or a taskbar that is not the ended shell's, or,
// while lookForProcess holds, a new process of the shell program.
struct ShellReturnWait {
  const ShellRestartSeams& seams;
  HWND ended;
  DWORD endedProcessId;
  FILETIME since;  // just before the shell was ended
  bool lookForProcess;
  bool processSeen = false;
};

bool OwnedByAnotherProcess(HWND window, DWORD endedProcessId) {
  DWORD owner = 0;
  return window != nullptr && IsWindow(window) && GetWindowThreadProcessId(window, &owner) != 0 &&
         owner != endedProcessId;
}

// The shell is back, visibly: a shell window, or a taskbar, of another process than the ended
// one. Windows' taskbar is the window of class Shell_TrayWnd, which the shell creates and then
// announces with the registered TaskbarCreated message (Microsoft's "Taskbar" overview, "Taskbar
// Creation Notification"); programs that must know when the shell came back after a crash wait
// for that same window or message (the TaskbarCreated handlers of tray icon libraries;
// Sysinternals' "Process Explorer does not restore its taskbar icon" after Explorer restarts).
bool ShellIsBack(const ShellReturnWait& wait) {
  const HWND shell = wait.seams.shellWindow();
  if (shell != wait.ended && OwnedByAnotherProcess(shell, wait.endedProcessId)) return true;
  return OwnedByAnotherProcess(wait.seams.taskbarWindow(), wait.endedProcessId);
}

bool ShellIsReturning(void* context) {
  auto* wait = static_cast<ShellReturnWait*>(context);
  if (ShellIsBack(*wait)) return true;
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

// The process that owns the window, opened to be ended, waited for and asked for its image;
// empty when it cannot be. The window is asked again once the process is open, so that the handle
// is never that of another process which took over the identifier of one that ended meanwhile.
win::KernelHandle OpenWindowProcess(HWND window, DWORD* processId) {
  if (GetWindowThreadProcessId(window, processId) == 0) return {};
  win::KernelHandle process(OpenProcess(
      PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, *processId));
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
  return {outcome, std::move(report), std::nullopt};
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
    case ShellRestartOutcome::kComing:
    case ShellRestartOutcome::kOtherShell:
    case ShellRestartOutcome::kEnding:
    case ShellRestartOutcome::kNotStarted:
    case ShellRestartOutcome::kQuit:
      return MB_ICONWARNING;
    default:
      return MB_ICONERROR;
  }
}

// A WM_QUIT met during the waits ends the restart where it is: nothing more is started.
ShellRestart Stopped(const ShellReturnWait& wait) {
  return ShellIsBack(wait) ? Outcome(ShellRestartOutcome::kRestarted)
                           : Outcome(ShellRestartOutcome::kQuit, WithHowToStart(kQuitText));
}

// The shell has ended: waits for it to come back and, where nothing came, starts it.
//
// Windows starts explorer.exe processes that are not the shell: one for folder windows where
// "Launch folder windows in a separate process" is on, and a COM server, "explorer.exe
// /factory,{...} -Embedding", whenever a program opens some folders (field reports:
// ramensoftware/windhawk, "Late injection with Control Panel", where svchost starts such an
// instance; 8LWXpg/PowerToysRun-ProcessKiller, "Exclude only Shell process instead of all
// Explorer processes", which tells the shell by its shell window, not by its name). Neither its
// name nor, reliably, its parent tells the shell from those: the parent of the shell that Windows
// brings back is not documented, and the COM server's is svchost. What tells it is what the shell
// does and the others never do: it makes the shell window and the taskbar (Microsoft's
// GetShellWindow documentation; "Taskbar Creation Notification"). So a new explorer.exe only
// earns a longer wait, comingMs, to show either; after that it is taken for one of the others.
// Right before the program starts Explorer it looks once more, so that it never starts one beside
// a shell that came at the last moment: an explorer.exe started while it does not take itself for
// the shell opens a folder window instead of the taskbar (pal1000/Realtek-UAD-generic, "No Windows
// Shell/explorer after running script": Explorer started from Task Manager "just open[s] the 'My
// PC' folder"; Libki/libki-client, "Consider userinit instead of, or in addition to, shell
// replacement": "Explorer must see it is the actual shell").
ShellRestart AwaitReturn(ShellReturnWait& wait, const DisabledWindowScope& disabled) {
  const ShellRestartSeams& seams = wait.seams;
  if (WaitForShell(wait, seams.selfRestartMs, disabled) && !wait.processSeen) {
    return Outcome(ShellRestartOutcome::kRestarted);
  }
  if (disabled.QuitRequested()) return Stopped(wait);
  if (wait.processSeen) {
    GetSystemTimeAsFileTime(&wait.since);  // a process newer than this one is another candidate
    wait.lookForProcess = false;
    if (WaitForShell(wait, seams.comingMs, disabled)) {
      return Outcome(ShellRestartOutcome::kRestarted);
    }
    if (disabled.QuitRequested()) return Stopped(wait);
  }
  if (ShellIsBack(wait)) return Outcome(ShellRestartOutcome::kRestarted);
  if (seams.shellStarting(wait.endedProcessId, wait.since)) {
    return Outcome(ShellRestartOutcome::kComing, WithHowToStart(kComingText));
  }
  if (seams.runsElevated()) {
    return Outcome(ShellRestartOutcome::kNotStarted, WithHowToStart(kNotStartedText));
  }
  wait.lookForProcess = false;
  if (StartShell(seams) && WaitForShell(wait, seams.startMs, disabled)) {
    return Outcome(ShellRestartOutcome::kRestarted);
  }
  if (disabled.QuitRequested() && ShellIsBack(wait)) {
    return Outcome(ShellRestartOutcome::kRestarted);
  }
  return Outcome(ShellRestartOutcome::kNotBack, WithHowToStart(kNotBackText));
}

ShellRestart EndAndAwaitShell(HWND shell, const ShellRestartSeams& seams,
                              DisabledWindowScope& disabled) {
  ShellReturnWait wait{seams, shell, 0, {}, true};
  const win::KernelHandle process = OpenWindowProcess(shell, &wait.endedProcessId);
  // A process whose program cannot be told is not ended either.
  const std::wstring image = process ? ProcessImagePath(process.get()) : std::wstring();
  if (image.empty()) {
    return Outcome(ShellRestartOutcome::kNotEnded, ThenSignOut(kNotEndedText, kForTheSetting));
  }
  if (!SameFilePath(image, seams.nativeShell())) {
    return Outcome(ShellRestartOutcome::kOtherShell, OtherShellText(image));
  }
  GetSystemTimeAsFileTime(&wait.since);
  if (!seams.endProcess(process.get(), kEndedExitCode)) {
    return Outcome(ShellRestartOutcome::kNotEnded, ThenSignOut(kNotEndedText, kForTheSetting));
  }
  if (!WaitForEnd(process.get(), seams, disabled)) {
    return disabled.QuitRequested()
               ? Outcome(ShellRestartOutcome::kQuit, WithHowToStart(kQuitText))
               : Outcome(ShellRestartOutcome::kEnding, ThenSignOut(kEndingText));
  }
  disabled.ShowPointer(IDC_APPSTARTING);
  return AwaitReturn(wait, disabled);
}

}  // namespace

std::wstring ShellProgramPath() { return WindowsProgramPath(kShellProgram); }

HWND TaskbarWindow() { return FindWindowW(L"Shell_TrayWnd", nullptr); }

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
// ended, and only when it is the native Explorer, with a code after which the system starts the
// shell again as the signed-in user; the program waits for that, gives a new shell process of the
// session time to show the shell so that it never starts a second one beside it, and starts the
// shell itself only where nothing came and it does not run elevated. The cost is that folder
// windows are not reopened.
//
// Another program can be the shell: Shell Launcher's kiosks, replacement shells. The Winlogon
// value Shell names it, and Microsoft's registry reference for Winlogon says only that the shell
// restarted is "typically" Explorer. Ending such a shell and starting Explorer in its place would
// change the user's shell, so the program ends the shell only when its process runs the native
// %windir%\explorer.exe, compared by full path (QueryFullProcessImageName), and otherwise ends
// nothing and says so. A name alone would not do: a copy of explorer.exe elsewhere is another
// program (field reports: the Shell Launcher kiosks of Microsoft's "Configure a kiosk" threads,
// and ExplorerPatcher's and Open-Shell's users, whose shell is not always the native one).
ShellRestart RestartShell(HWND owner, const ShellRestartSeams& seams) {
  HWND shell = seams.shellWindow();
  if (shell == nullptr || !IsWindow(shell)) {
    return Outcome(ShellRestartOutcome::kNoShell, ThenSignOut(kNoShellText, kForTheSetting));
  }
  const SessionUsers users = SessionUsersOf(shell);
  if (!ActsForSignedInUser(users)) {
    return Outcome(ShellRestartOutcome::kOtherUser, OtherUserRestartNotice(users));
  }
  DisabledWindowScope disabled(owner, IDC_WAIT);
  ShellRestart restart = EndAndAwaitShell(shell, seams, disabled);
  restart.quitCode = disabled.TakeQuit();
  return restart;
}

void ConfirmAndRestartShell(HWND owner, const ShellRestartSeams& seams) {
  const std::wstring prompt(kRestartPrompt);
  const std::wstring title(kNoticeTitle);
  if (MessageBoxW(owner, prompt.c_str(), title.c_str(), kRestartPromptStyle) != IDYES) return;
  const ShellRestart restart = RestartShell(owner, seams);
  if (!restart.report.empty()) {
    MessageBoxW(IsWindow(owner) ? owner : nullptr, restart.report.c_str(), title.c_str(),
                MB_OK | ReportIcon(restart.outcome));
  }
  if (restart.quitCode) PostQuitMessage(*restart.quitCode);
}

}  // namespace app
