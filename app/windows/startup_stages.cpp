#include "app/windows/startup_stages.h"

#include <windows.h>

#include <cstdio>

namespace app {
namespace {

// The marks of this process's one start-up, 0 while a stage has not ended: the one piece of
// process-wide state the start-up trace keeps.
LONGLONG marks[kStartupStageCount] = {};

bool StagesAsked() { return GetEnvironmentVariableW(kStartupStagesVariable, nullptr, 0) > 0; }

void WriteMarks() {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  for (int stage = 0; stage < kStartupStageCount; ++stage) {
    char line[64] = {};
    const int length =
        std::snprintf(line, sizeof line, "%s %lld\n", kStartupStageNames[stage], marks[stage]);
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
  if (stage == StartupStage::kFirstPaint && StagesAsked()) WriteMarks();
}

}  // namespace app
