#include "tests/app/system/shell_stand_ins.h"

#include <vector>

#include "app/system/user_environment.h"
#include "win/unique_handle.h"

namespace shell_stand_ins {

using testing_support::StandardOutput;

StandInShell::StandInShell(const std::wstring& caption, const std::wstring& program)
    : RunningProgram(program, caption, StandardOutput::kNone), window_(WaitForWindow(caption)) {}

HWND shellWindow = nullptr;
std::atomic<HWND> returningWindow = nullptr;
std::atomic<HWND> taskbarWindow = nullptr;
std::atomic<int> startsAttempted = 0;

namespace {

HWND WINAPI StandInShellWindow() {
  return IsWindow(shellWindow) ? shellWindow : returningWindow.load();
}

HWND StandInTaskbar() { return taskbarWindow.load(); }

std::wstring StandInShellProgram() { return testing_support::ShellStandInPath(); }

std::wstring EnvironmentVariable(const wchar_t* name) {
  std::vector<wchar_t> value(32767);
  const DWORD length = GetEnvironmentVariableW(name, value.data(), 32767);
  return std::wstring(value.data(), length < 32767 ? length : 0);
}

// The user's environment, as the restart gives it to the shell it starts, plus what the command
// recorder and Wine's choice of the recorder over its own explorer.exe need.
std::wstring RecorderEnvironment() {
  ++startsAttempted;
  std::wstring block = app::UserEnvironmentBlock();
  for (const wchar_t* name :
       {L"MORVANE_RECORDER_LOG", L"MORVANE_RECORDER_EVENT", L"WINEDLLOVERRIDES"}) {
    block += std::wstring(name) + L'=' + EnvironmentVariable(name) + L'\0';
  }
  return block;
}

}  // namespace

bool NothingStarting(DWORD, const FILETIME&) { return false; }
bool NotElevated() { return false; }
bool Elevated() { return true; }

app::ShellRestartSeams StandInSeams() {
  app::ShellRestartSeams seams;
  seams.shellWindow = StandInShellWindow;
  seams.taskbarWindow = StandInTaskbar;
  seams.nativeShell = StandInShellProgram;
  seams.shellStarting = NothingStarting;
  seams.runsElevated = NotElevated;
  seams.environment = RecorderEnvironment;
  seams.selfRestartMs = 1000;
  seams.comingMs = 1000;
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

bool Contains(const std::wstring& text, const std::wstring& part) {
  return text.find(part) != std::wstring::npos;
}

void ShellRestart::SetUp() {
  ASSERT_TRUE(recording_.ready()) << "the command recorder does not stand in; run through ctest";
  GetWindowThreadProcessId(GetDesktopWindow(), &desktopProcess_);
  ASSERT_TRUE(ProcessRuns(desktopProcess_));
  startsAttempted = 0;
}

void ShellRestart::TearDown() {
  EXPECT_TRUE(ProcessRuns(desktopProcess_)) << "the prefix's desktop process was ended";
  shellWindow = nullptr;
  returningWindow = nullptr;
  taskbarWindow = nullptr;
}

}  // namespace shell_stand_ins
