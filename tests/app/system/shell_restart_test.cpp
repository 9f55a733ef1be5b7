// The shell restart through its seams, over the stand-ins of shell_stand_ins.h.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/system/message_wait.h"
#include "app/system/session_users.h"
#include "app/system/shell_restart.h"
#include "app/system/user_environment.h"
#include "tests/app/system/shell_stand_ins.h"
#include "tests/support/form1_access.h"
#include "tests/support/message_pump.h"
#include "tests/support/pointer_input.h"
#include "tests/support/test_paths.h"
#include "win/unique_handle.h"

namespace {

using namespace shell_stand_ins;
using testing_support::WaitUntil;

// The exit code after which the system does not start the shell again: taskkill /f's.
constexpr DWORD kCodeTheSystemLeavesDown = 1;

// Stands in for the system's restart of the shell: waits on a thread of its own for the stand-in
// shell to end and, unless it ended with exit code 1, starts a new stand-in shell, whose window
// becomes the session's shell window.
class StandInSystem {
 public:
  explicit StandInSystem(DWORD shellProcessId)
      : shell_(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellProcessId)),
        thread_(CreateThread(nullptr, 0, Watch, this, 0, nullptr)) {}
  ~StandInSystem() { WaitForSingleObject(thread_.get(), 30000); }

  DWORD exitCode() const { return exitCode_; }
  bool restarted() const { return returned_ != nullptr; }

 private:
  static DWORD WINAPI Watch(void* context) {
    auto* system = static_cast<StandInSystem*>(context);
    if (WaitForSingleObject(system->shell_.get(), 20000) != WAIT_OBJECT_0) return 1;
    DWORD code = 0;
    GetExitCodeProcess(system->shell_.get(), &code);
    system->exitCode_ = code;
    if (code == kCodeTheSystemLeavesDown) return 0;
    system->returned_ = std::make_unique<StandInShell>(L"returned");
    returningWindow = system->returned_->window();
    return 0;
  }

  win::KernelHandle shell_;
  std::atomic<DWORD> exitCode_ = STILL_ACTIVE;
  std::unique_ptr<StandInShell> returned_;
  win::KernelHandle thread_;
};

BOOL WINAPI EndWithCodeOne(HANDLE process, UINT) { return TerminateProcess(process, 1); }

// The system brings the shell back after the restart's end, and would not after taskkill /f's
// code; only then does the program start Explorer itself.
TEST_F(ShellRestart, TheSystemBringsTheShellBackAfterTheRestartsEndAndNothingElseStarts) {
  struct Case {
    const char* name;
    BOOL(WINAPI* endProcess)(HANDLE, UINT);
    app::ShellRestartOutcome outcome;
    size_t starts;
  };
  const Case cases[] = {
      {"the restart's own end", TerminateProcess, app::ShellRestartOutcome::kRestarted, 0},
      {"ended as taskkill /f ends it", EndWithCodeOne, app::ShellRestartOutcome::kNotBack, 1},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const StandInShell shell(L"shell"), bystander(L"bystander");
    ASSERT_NE(shell.window(), nullptr);
    ASSERT_NE(bystander.window(), nullptr);
    shellWindow = shell.window();
    returningWindow = nullptr;
    const size_t startsBefore = recording_.Starts().size();
    std::unique_ptr<StandInSystem> system = std::make_unique<StandInSystem>(shell.processId());
    app::ShellRestartSeams seams = StandInSeams();
    seams.endProcess = test.endProcess;
    seams.selfRestartMs = 8000;  // the stand-in system starts a process and waits for its window

    const app::ShellRestart restart = app::RestartShell(nullptr, seams);
    EXPECT_EQ(restart.outcome, test.outcome);
    EXPECT_FALSE(shell.running()) << "the shell was not waited for";
    EXPECT_TRUE(bystander.running()) << "a process other than the shell's was ended";
    EXPECT_EQ(recording_.Starts().size() - startsBefore, test.starts);
    const bool restarted = system->restarted();
    const DWORD exitCode = system->exitCode();
    system.reset();  // its returned shell ends here
    if (test.endProcess == TerminateProcess) {
      EXPECT_NE(exitCode, 1u) << "the code after which the system leaves the shell down";
      EXPECT_NE(exitCode, 0u) << "the code of a shell that quit on purpose";
      EXPECT_TRUE(restarted);
      EXPECT_TRUE(restart.report.empty());
    }
  }
}

TEST_F(ShellRestart, WithNoShellBackTheNativeExplorerStartsAndAFailureIsTold) {
  const StandInShell shell(L"shell");
  ASSERT_NE(shell.window(), nullptr);
  shellWindow = shell.window();

  const app::ShellRestart restart = app::RestartShell(nullptr, StandInSeams());
  EXPECT_EQ(restart.outcome, app::ShellRestartOutcome::kNotBack);
  EXPECT_TRUE(Contains(restart.report, L"未重新启动")) << "did not come back";
  for (const wchar_t* step : {L"Ctrl+Shift+Esc", L"详细信息", L"“文件”→“运行新任务”",
                              L"上方的“运行新任务”", L"“新建任务(运行...)”", L"输入 explorer"}) {
    EXPECT_TRUE(Contains(restart.report, step)) << "how to start Explorer lacks a step";
  }
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
  EXPECT_TRUE(Contains(none.report, L"找不到正在运行的资源管理器"));
  EXPECT_TRUE(Contains(none.report, L"Ctrl+Alt+Delete，单击“注销”"))
      << "sign out without a taskbar";
  EXPECT_EQ(recording_.Starts().size(), 1u);
}

// A process that TerminateProcess has begun to end but that goes only later, as one with a thread
// held in a driver does: the seam returns true at once, and a thread ends the process when
// `letItGo` is set or, failing that, after `endAfterMs`.
struct SlowEnd {
  HANDLE process = nullptr;  // a copy, closed by the thread
  win::KernelHandle letItGo{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  DWORD endAfterMs = 0;
};
SlowEnd* slowEnd = nullptr;

DWORD WINAPI EndLater(void*) {
  WaitForSingleObject(slowEnd->letItGo.get(), slowEnd->endAfterMs);
  TerminateProcess(slowEnd->process, 0xFFFFFFFF);
  CloseHandle(slowEnd->process);
  return 0;
}

BOOL WINAPI BeginASlowEnd(HANDLE process, UINT) {
  if (!DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &slowEnd->process, 0,
                       FALSE, DUPLICATE_SAME_ACCESS)) {
    return FALSE;
  }
  const win::KernelHandle thread(CreateThread(nullptr, 0, EndLater, nullptr, 0, nullptr));
  return static_cast<bool>(thread);
}

// The first wait (endMs) is short and the process goes only after it, within the longer bound,
// which is generous because the wait ends as soon as the process goes; or the process goes only
// when the test lets it, after the restart has given up.
TEST_F(ShellRestart, ASlowEndIsAwaitedAndNeverReportedAsNotEnded) {
  struct Case {
    const char* name;
    DWORD endAfterMs;
    DWORD slowEndMs;
    app::ShellRestartOutcome outcome;
  };
  const Case cases[] = {
      {"it goes within the longer bound", 1000, 30000, app::ShellRestartOutcome::kRestarted},
      {"it is still going after it", 60000, 300, app::ShellRestartOutcome::kEnding},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const StandInShell shell(L"shell"), returning(L"returning");
    ASSERT_NE(shell.window(), nullptr);
    shellWindow = shell.window();
    returningWindow = returning.window();
    SlowEnd end;
    end.endAfterMs = test.endAfterMs;
    slowEnd = &end;
    app::ShellRestartSeams seams = StandInSeams();
    seams.endProcess = BeginASlowEnd;
    seams.endMs = 300;
    seams.slowEndMs = test.slowEndMs;

    const app::ShellRestart restart = app::RestartShell(nullptr, seams);
    const bool ranOnAfterTheWait = shell.running();
    SetEvent(end.letItGo.get());
    EXPECT_TRUE(shell.WaitForExit(30000, nullptr)) << "the end did not come";
    EXPECT_EQ(restart.outcome, test.outcome);
    EXPECT_FALSE(Contains(restart.report, L"未能结束")) << "told as a process that was not ended";
    if (test.outcome == app::ShellRestartOutcome::kEnding) {
      EXPECT_TRUE(ranOnAfterTheWait);
      EXPECT_TRUE(Contains(restart.report, L"尚未完全退出"));
    }
    EXPECT_EQ(startsAttempted, 0) << "a shell was started beside an ending one";
    EXPECT_TRUE(recording_.Starts().empty());
  }
}

// New explorer.exe processes after the end, as the seam reports them: `seen` is how many looks
// find one; `windowAfter` (when not null) is what the first look makes appear as the shell window
// or the taskbar.
struct NewExplorers {
  int seen = 0;
  HWND shellWindow = nullptr;
  HWND taskbar = nullptr;
};
NewExplorers newExplorers;
bool NewExplorerProcess(DWORD, const FILETIME&) {
  if (newExplorers.seen == 0) return false;
  --newExplorers.seen;
  if (newExplorers.shellWindow != nullptr) returningWindow = newExplorers.shellWindow;
  if (newExplorers.taskbar != nullptr) taskbarWindow = newExplorers.taskbar;
  return true;
}

// Only a process that shows the shell window or the taskbar is the shell on its way: another
// explorer.exe (a folder window's, a COM server's) gets its time and is then not taken for one.
// Where nothing shows, the user is told, whatever came or did not; elevated, the program starts
// no Explorer and tells how to.
TEST_F(ShellRestart, OnlyANewExplorerThatShowsTheShellCountsAndNoEndIsSilent) {
  enum class Shows { kShellWindow, kTaskbar, kNothing };
  struct Case {
    const char* name;
    Shows shows;
    int seen;
    bool elevated;
    app::ShellRestartOutcome outcome;
    int starts;
    const wchar_t* told;
  };
  const Case cases[] = {
      {"it shows the shell window", Shows::kShellWindow, 1, false,
       app::ShellRestartOutcome::kRestarted, 0, nullptr},
      {"it shows the taskbar", Shows::kTaskbar, 1, false, app::ShellRestartOutcome::kRestarted, 0,
       nullptr},
      {"it is not the shell", Shows::kNothing, 1, false, app::ShellRestartOutcome::kNotBack, 1,
       L"未重新启动"},
      {"it is not the shell, elevated", Shows::kNothing, 1, true,
       app::ShellRestartOutcome::kNotStarted, 0, L"以管理员身份运行"},
      {"none came, elevated", Shows::kNothing, 0, true, app::ShellRestartOutcome::kNotStarted, 0,
       L"以管理员身份运行"},
      {"another comes at the last look", Shows::kNothing, 2, false,
       app::ShellRestartOutcome::kComing, 0, L"任务栏尚未出现"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const StandInShell shell(L"shell"), late(L"late");
    ASSERT_NE(shell.window(), nullptr);
    shellWindow = shell.window();
    returningWindow = nullptr;
    taskbarWindow = nullptr;
    startsAttempted = 0;
    newExplorers = {test.seen, test.shows == Shows::kShellWindow ? late.window() : nullptr,
                    test.shows == Shows::kTaskbar ? late.window() : nullptr};
    const size_t startsBefore = recording_.Starts().size();
    app::ShellRestartSeams seams = StandInSeams();
    seams.shellStarting = NewExplorerProcess;
    seams.runsElevated = test.elevated ? Elevated : NotElevated;

    const app::ShellRestart restart = app::RestartShell(nullptr, seams);
    EXPECT_EQ(restart.outcome, test.outcome);
    EXPECT_FALSE(shell.running());
    EXPECT_EQ(startsAttempted, test.starts) << "a start beside the shell, or none where needed";
    if (test.told == nullptr) {
      EXPECT_TRUE(restart.report.empty());
    } else {
      EXPECT_TRUE(Contains(restart.report, test.told));
      for (const wchar_t* step : {L"Ctrl+Shift+Esc", L"“运行新任务”"}) {
        EXPECT_TRUE(Contains(restart.report, step)) << "no way to start Explorer";
      }
    }
    if (test.starts > 0) {
      EXPECT_TRUE(recording_.WaitForStart(10000));
      EXPECT_EQ(recording_.Starts().size() - startsBefore, static_cast<size_t>(test.starts));
    }
  }
}

// The pointer over the main window during the restart's waits, as the seams see it: moved onto
// the window after the wait has begun, so that only the window's own WM_SETCURSOR can set it.
struct PointerSeen {
  HWND form = nullptr;
  POINT outside{}, inside{}, elsewhereInside{};
  HWND returning = nullptr;
  bool waitWhileEnding = false;
  bool appStartingWhileReturning = false;
};
PointerSeen pointerSeen;

bool CursorIs(const wchar_t* id) { return GetCursor() == LoadCursorW(nullptr, id); }

BOOL WINAPI EndWhileLookingAtThePointer(HANDLE process, UINT exitCode) {
  testing_support::MovePointerTo(pointerSeen.inside.x, pointerSeen.inside.y);
  pointerSeen.waitWhileEnding = WaitUntil([] { return CursorIs(IDC_WAIT); }, 3000);
  return TerminateProcess(process, exitCode);
}

bool LookAtThePointerWhileTheShellReturns(DWORD, const FILETIME&) {
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));  // as the platform's default handling would
  testing_support::MovePointerTo(pointerSeen.elsewhereInside.x, pointerSeen.elsewhereInside.y);
  pointerSeen.appStartingWhileReturning = WaitUntil([] { return CursorIs(IDC_APPSTARTING); }, 3000);
  returningWindow = pointerSeen.returning;
  return false;
}

// A point of the form's client area, in screen coordinates, where no child window is.
bool BareFormPoint(HWND form, int fromLeft, int fromBottom, POINT* point) {
  RECT client{};
  GetClientRect(form, &client);
  POINT inForm{fromLeft, client.bottom - fromBottom};
  if (ChildWindowFromPointEx(form, inForm, CWP_SKIPINVISIBLE) != form) return false;
  *point = inForm;
  ClientToScreen(form, point);
  return true;
}

TEST_F(ShellRestart, TheBusyPointerShowsOverTheWindowDuringTheWaitsAndTheArrowAfter) {
  const testing_support::LoadedForm1 form1;
  const HWND form = form1.windows().form;
  const StandInShell shell(L"shell"), returning(L"returning");
  ASSERT_NE(shell.window(), nullptr);
  shellWindow = shell.window();
  pointerSeen = {};
  pointerSeen.form = form;
  pointerSeen.returning = returning.window();
  ASSERT_TRUE(BareFormPoint(form, 4, 4, &pointerSeen.inside));
  ASSERT_TRUE(BareFormPoint(form, 8, 8, &pointerSeen.elsewhereInside));
  RECT frame{};
  GetWindowRect(form, &frame);
  testing_support::MovePointerTo(frame.right + 20, frame.bottom + 20);
  testing_support::PumpMessages();
  app::ShellRestartSeams seams = StandInSeams();
  seams.endProcess = EndWhileLookingAtThePointer;
  seams.shellStarting = LookAtThePointerWhileTheShellReturns;

  const app::ShellRestart restart = app::RestartShell(form, seams);
  EXPECT_EQ(restart.outcome, app::ShellRestartOutcome::kRestarted);
  EXPECT_TRUE(pointerSeen.waitWhileEnding) << "no busy pointer while the shell ends";
  EXPECT_TRUE(pointerSeen.appStartingWhileReturning) << "no busy pointer while it comes back";
  EXPECT_TRUE(IsWindowEnabled(form));
  EXPECT_TRUE(CursorIs(IDC_ARROW)) << "the busy pointer stayed after the wait";
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  testing_support::MovePointerTo(pointerSeen.inside.x, pointerSeen.inside.y);
  EXPECT_TRUE(WaitUntil([] { return CursorIs(IDC_ARROW); }, 3000))
      << "the window's own pointer did not come back";
}

// A process named explorer.exe of this session counts as a shell on its way only when it was
// created at or after the moment given, and never when it is the ended shell itself.
TEST(ShellProcessStarting, FindsANewExplorerProcessOfThisSession) {
  const std::wstring directory = testing_support::TestOutputPath(L"shell-starting");
  CreateDirectoryW(directory.c_str(), nullptr);
  const std::wstring copy = directory + L"\\explorer.exe";
  ASSERT_TRUE(CopyFileW(testing_support::ShellStandInPath().c_str(), copy.c_str(), FALSE));
  FILETIME before{};
  GetSystemTimeAsFileTime(&before);
  Sleep(50);
  const StandInShell starting(L"starting", copy);
  ASSERT_NE(starting.window(), nullptr);
  Sleep(50);
  FILETIME after{};
  GetSystemTimeAsFileTime(&after);

  EXPECT_TRUE(app::ShellProcessStarting(0, before));
  EXPECT_FALSE(app::ShellProcessStarting(starting.processId(), before)) << "the ended shell";
  EXPECT_FALSE(app::ShellProcessStarting(0, after)) << "a shell that ran before the end";
}

// The shell the program starts gets the environment of a fresh sign-in, not the program's own.
TEST(UserEnvironment, IsTheAccountsOwnNotTheProgramsEnvironment) {
  SetEnvironmentVariableW(L"MORVANE_PROGRAM_ONLY", L"1");
  const std::wstring block = app::UserEnvironmentBlock();
  SetEnvironmentVariableW(L"MORVANE_PROGRAM_ONLY", nullptr);
  ASSERT_FALSE(block.empty());
  EXPECT_FALSE(Contains(L'\0' + block, std::wstring(L"\0MORVANE_PROGRAM_ONLY=", 22)));
  EXPECT_TRUE(Contains(L'\0' + block, std::wstring(L"\0SystemRoot=", 12)) ||
              Contains(L'\0' + block, std::wstring(L"\0SYSTEMROOT=", 12)));
  EXPECT_EQ(block.back(), L'\0') << "each entry ends with a null";
}

}  // namespace
