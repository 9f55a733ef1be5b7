// Goal 9: the program's start-up against the platform's bare dialog with the same controls. Both
// are started as a user starts them (the stripped files the release ships, the pointer away from
// where they open), in turn, and each is timed from CreateProcess until its window is visible,
// painted (no update region left on it or any window inside it) and answers WM_NULL. A second
// series of the program's starts asks it for its stage marks.

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/windows/startup_stages.h"
#include "bench/measurements.h"
#include "bench/timing.h"
#include "win/unique_handle.h"

namespace bench {
namespace {

constexpr double kGoalRatio = 1.10;
constexpr int kPairs = 21;
constexpr int kStageRuns = 9;

// How long a start may take before the run gives up on it, how long a closed program may take to
// end, and how long the window may take to answer once it is painted.
constexpr double kStartTimeoutUs = 20e6;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr UINT kAnswerTimeoutMs = 5000;

constexpr wchar_t kProgramName[] = L"Morvane.exe";
constexpr wchar_t kBareDialogName[] = L"morvane_bare_dialog.exe";

// The programs as the release ships them, stripped, in the folder "startup" beside the benchmark.
std::wstring StrippedCopy(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  return folder + L"startup\\" + name;
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK NoteVisibleWindowOf(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND VisibleWindowOf(DWORD processId) {
  WindowSearch search{processId, nullptr};
  EnumWindows(NoteVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK NoteUnpainted(HWND window, LPARAM lParam) {
  if (!IsWindowVisible(window) || !GetUpdateRect(window, nullptr, FALSE)) return TRUE;
  *reinterpret_cast<bool*>(lParam) = true;
  return FALSE;
}

// True when neither the window nor any visible window inside it waits for a paint.
bool Painted(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return false;
  bool unpainted = false;
  EnumChildWindows(window, NoteUnpainted, reinterpret_cast<LPARAM>(&unpainted));
  return !unpainted;
}

// A started program: its process, and its standard output when marks were asked for.
struct Started {
  win::KernelHandle process;
  win::KernelHandle output;
  DWORD processId = 0;
};

std::optional<Started> Start(const std::wstring& program, bool askForStages) {
  Started started;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  win::KernelHandle writeEnd;
  if (askForStages) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inheritable, 0)) return std::nullopt;
    started.output.reset(read);
    writeEnd.reset(write);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    SetEnvironmentVariableW(app::kStartupStagesVariable, L"1");
  }
  std::wstring commandLine = L"\"" + program + L"\"";
  PROCESS_INFORMATION info{};
  const BOOL created = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr,
                                      askForStages, 0, nullptr, nullptr, &startup, &info);
  if (askForStages) SetEnvironmentVariableW(app::kStartupStagesVariable, nullptr);
  if (!created) return std::nullopt;
  CloseHandle(info.hThread);
  started.process.reset(info.hProcess);
  started.processId = info.dwProcessId;
  return started;
}

// Waits until the program's window is visible, painted and answers; returns it, or null when
// the program ended or took too long.
HWND WaitUntilReady(const Started& started, double startUs) {
  while (NowMicroseconds() - startUs < kStartTimeoutUs) {
    if (WaitForSingleObject(started.process.get(), 0) == WAIT_OBJECT_0) return nullptr;
    HWND window = VisibleWindowOf(started.processId);
    DWORD_PTR answer = 0;
    if (window != nullptr && Painted(window) &&
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer)) {
      return window;
    }
    Sleep(1);
  }
  return nullptr;
}

// Closes the window as its close box does and waits for the program to end.
void Close(const Started& started, HWND window) {
  if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(started.process.get(), kExitTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(started.process.get(), 1);
    WaitForSingleObject(started.process.get(), kExitTimeoutMs);
  }
}

// One start, from CreateProcess until the window is ready, and closed again; nullopt when it
// failed. The process stays, ended, for its output to be read.
struct TimedStart {
  Started started;
  double startUs;
  double readyUs;
};

std::optional<TimedStart> StartAndClose(const std::wstring& program, bool askForStages) {
  const double startUs = NowMicroseconds();
  std::optional<Started> started = Start(program, askForStages);
  if (!started) return std::nullopt;
  HWND window = WaitUntilReady(*started, startUs);
  const double readyUs = NowMicroseconds();
  Close(*started, window);
  if (window == nullptr) return std::nullopt;
  return TimedStart{std::move(*started), startUs, readyUs};
}

std::optional<double> TimeOneStart(const std::wstring& program) {
  const auto timed = StartAndClose(program, false);
  if (!timed) return std::nullopt;
  return timed->readyUs - timed->startUs;
}

// The marks a program wrote, in microseconds on the benchmark's clock; nullopt when one is
// missing.
std::optional<std::array<double, app::kStartupStageCount>> ReadMarks(HANDLE output) {
  std::string text;
  char buffer[512];
  DWORD read = 0;
  while (ReadFile(output, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    text.append(buffer, read);
  }
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  std::array<double, app::kStartupStageCount> marks{};
  for (int stage = 0; stage < app::kStartupStageCount; ++stage) {
    const std::string key = std::string(app::kStartupStageNames[stage]) + " ";
    const size_t at = text.find(key);
    if (at == std::string::npos) return std::nullopt;
    const double ticks = std::strtod(text.c_str() + at + key.size(), nullptr);
    marks[static_cast<size_t>(stage)] = ticks * 1e6 / static_cast<double>(frequency.QuadPart);
  }
  return marks;
}

// The time of each stage of one start of the program: from CreateProcess to its first line,
// each of its stages, and from its window's first paint until it is ready as the ratio counts
// it (the controls inside painted, the window answering). nullopt when the start failed.
std::optional<std::vector<double>> TimeStages(const std::wstring& program) {
  const auto timed = StartAndClose(program, true);
  if (!timed) return std::nullopt;
  const auto marks = ReadMarks(timed->started.output.get());
  if (!marks) return std::nullopt;
  std::vector<double> stages;
  double previous = timed->startUs;
  for (const double mark : *marks) {
    stages.push_back(mark - previous);
    previous = std::max(previous, mark);
  }
  stages.push_back(timed->readyUs - previous);
  return stages;
}

// What each stage is called in the table, after the program's own names.
constexpr const char* kStageDescriptions[app::kStartupStageCount + 1] = {
    "to the first line (loader, imported DLLs, C runtime)",
    "first line to COM apartment joined",
    "dialog made from its template, with icons",
    "children, fonts and layout",
    "skin installed",
    "shown, focus on the first command",
    "the window's own first paint",
    "controls painted, answering WM_NULL",
};

std::string Milliseconds(double microseconds) { return Fixed(microseconds / 1000, 1) + " ms"; }

}  // namespace

void MeasureStartup(Report& report) {
  const std::wstring program = StrippedCopy(kProgramName);
  const std::wstring bare = StrippedCopy(kBareDialogName);
  // The pointer in a corner, away from where the windows open: a window that opens under it gets
  // mouse messages at once, which belong to the first hover, not to the start.
  SetCursorPos(0, 0);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
  // One untimed start of each first: the system's caches and the Wine server's state.
  TimeOneStart(program);
  TimeOneStart(bare);
  std::vector<double> programUs, bareUs;
  for (int pair = 0; pair < kPairs; ++pair) {
    if (const auto time = TimeOneStart(program)) programUs.push_back(*time);
    if (const auto time = TimeOneStart(bare)) bareUs.push_back(*time);
  }
  if (programUs.empty() || bareUs.empty()) {
    report.AddGoal("9. Start-up, the program / a bare dialog with its controls", "failed",
                   "<= " + Fixed(kGoalRatio, 2), false);
    return;
  }
  const double programMedian = Median(programUs);
  const double bareMedian = Median(bareUs);
  const double ratio = programMedian / bareMedian;
  report.AddGoal("9. Start-up until visible, painted and answering, the program / a bare dialog",
                 Fixed(ratio, 3), "<= " + Fixed(kGoalRatio, 2), ratio <= kGoalRatio);
  report.AddFigure("   Medians of " + std::to_string(kPairs) + " starts each, in turn",
                   Milliseconds(programMedian) + " / " + Milliseconds(bareMedian));

  std::vector<std::vector<double>> stageSamples(app::kStartupStageCount + 1);
  for (int run = 0; run < kStageRuns; ++run) {
    const auto stages = TimeStages(program);
    if (!stages) continue;
    for (size_t stage = 0; stage < stages->size(); ++stage) {
      stageSamples[stage].push_back((*stages)[stage]);
    }
  }
  for (size_t stage = 0; stage < stageSamples.size(); ++stage) {
    const std::string figure =
        stageSamples[stage].empty() ? "failed" : Milliseconds(Median(stageSamples[stage]));
    report.AddFigure(std::string("   of the program's start: ") + kStageDescriptions[stage],
                     figure);
  }
}

}  // namespace bench
