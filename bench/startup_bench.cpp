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
#include "tests/support/program_launch.h"

namespace bench {
namespace {

constexpr double kGoalRatio = 1.10;
constexpr int kPairs = 21;
constexpr int kStageRuns = 9;

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

// Starts the program; asked for its stage marks, it writes them into a pipe as its standard
// output.
launch::Started Start(const std::wstring& program, bool askForStages) {
  if (!askForStages) return launch::Start(program, L"");
  SetEnvironmentVariableW(app::kStartupStagesVariable, L"1");
  launch::Started started = launch::Start(program, L"", launch::StandardOutput::kPipe);
  SetEnvironmentVariableW(app::kStartupStagesVariable, nullptr);
  return started;
}

// One start, from CreateProcess until the window is ready, and closed again; nullopt when it
// failed. The process stays, ended, for its output to be read.
struct TimedStart {
  launch::Started started;
  double startUs;
  double readyUs;
};

std::optional<TimedStart> StartAndClose(const std::wstring& program, bool askForStages) {
  const double startUs = NowMicroseconds();
  launch::Started started = Start(program, askForStages);
  if (!started) return std::nullopt;
  HWND window = launch::WaitUntilReady(started);
  const double readyUs = NowMicroseconds();
  launch::CloseAndWait(started, window);
  if (window == nullptr) return std::nullopt;
  return TimedStart{std::move(started), startUs, readyUs};
}

std::optional<double> TimeOneStart(const std::wstring& program) {
  const auto timed = StartAndClose(program, false);
  if (!timed) return std::nullopt;
  return timed->readyUs - timed->startUs;
}

// The marks a program wrote, in microseconds on the benchmark's clock; nullopt when one is
// missing.
std::optional<std::array<double, app::kStartupStageCount>> ReadMarks(HANDLE output) {
  const std::string text = launch::ReadAll(output);
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
