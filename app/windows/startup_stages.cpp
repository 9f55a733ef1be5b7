#include "app/windows/startup_stages.h"

#include <windows.h>
// psapi.h needs windows.h first; the function it declares is kernel32's own.
#include <psapi.h>

#include <cstdio>

namespace app {
namespace {

// The marks of this process's one start-up, 0 while a stage has not ended: the one piece of
// process-wide state the start-up trace keeps.
LONGLONG marks[kStartupStageCount] = {};
// The working set and the private bytes as each stage ended, read only when the marks are asked
// for: what each stage of the start made the process hold.
SIZE_T workingSets[kStartupStageCount] = {};
SIZE_T privateBytes[kStartupStageCount] = {};

bool StagesAsked() { return GetEnvironmentVariableW(kStartupStagesVariable, nullptr, 0) > 0; }

void ReadMemory(int stage) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(GetCurrentProcess(),
                               reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof counters)) {
    return;
  }
  workingSets[stage] = counters.WorkingSetSize;
  privateBytes[stage] = counters.PrivateUsage;
}

void WriteMarks() {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  for (int stage = 0; stage < kStartupStageCount; ++stage) {
    char line[128] = {};
    const int length =
        std::snprintf(line, sizeof line, "%s %lld %llu %llu\n", kStartupStageNames[stage],
                      marks[stage], static_cast<unsigned long long>(workingSets[stage]),
                      static_cast<unsigned long long>(privateBytes[stage]));
    if (length <= 0 || length >= static_cast<int>(sizeof line)) return;
    DWORD written = 0;
    if (!WriteFile(out, line, static_cast<DWORD>(length), &written, nullptr)) return;
  }
}

}  // namespace

void MarkStartupStage(StartupStage stage) {
  LONGLONG& mark = marks[static_cast<int>(stage)];
  if (mark != 0) return;
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  mark = now.QuadPart;
  if (!StagesAsked()) return;
  ReadMemory(static_cast<int>(stage));
  if (stage == StartupStage::kFirstPaint) WriteMarks();
}

}  // namespace app
