// The program's own flow, a hundred times in one process: load the main window (the skin goes
// on), open the restart confirmation and answer No, switch to the instructions window (the skin
// comes off) and close it, which loads the main window again. Nothing may grow: GDI objects,
// windows, kernel handles, memory, skinned windows.

#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include "app/windows/instructions_window.h"
#include "app/windows/main_window.h"
#include "skin/engine/skin_engine.h"
#include "tests/skin/reliability/skin_invariants.h"
#include "tests/support/message_pump.h"
#include "tests/support/gdi_accounting.h"

namespace reliability {
namespace {

// GDI objects, windows, kernel handles and skinned windows are counted exactly, so one lost per
// cycle shows as a hundred after a hundred cycles just as a thousand after a thousand; every
// cycle does the same, so more cycles would find nothing more.
constexpr int kCycles = 100;
constexpr int kWarmUpCycles = 5;
constexpr int kCheckEvery = 25;
constexpr int kSkinnedWindowsOfForm1 = 6;
// Heap pages that the C runtime and Wine keep after their first use may still arrive late.
// Memory is not counted exactly: over a hundred cycles this catches growth of 20 KiB or more
// per cycle (the four state images of one of the buttons come to 50 KiB and more), not less.
constexpr SIZE_T kMemorySlackBytes = 2 * 1024 * 1024;

// Answers No to every confirmation box that the main window opens, as soon as it becomes
// active (a thread hook, so no timing is involved).
HHOOK answerHook = nullptr;
int boxesAnswered = 0;

LRESULT CALLBACK AnswerNo(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    if (app::form1::Window() != nullptr && GetWindow(box, GW_OWNER) == app::form1::Window()) {
      PostMessageW(box, WM_COMMAND, IDNO, 0);
      ++boxesAnswered;
    }
  }
  return CallNextHookEx(answerHook, code, wParam, lParam);
}

struct Footprint {
  testing_support::GdiCounts gdi;
  size_t windows;
  DWORD kernelHandles;
  SIZE_T memory;
};

Footprint Measure() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  return {testing_support::CountGdiObjects(), ThreadWindows().size(), handles,
          counters.WorkingSetSize};
}

// One cycle, starting and ending with the main window loaded and skinned.
void RunCycle() {
  HWND form = app::form1::Window();
  app::form1::Command1_Click(form);
  app::form1::Command4_Click(form);
  HWND instructions = app::form2::Window();
  ASSERT_NE(instructions, nullptr);
  SendMessageW(instructions, WM_CLOSE, 0, 0);
  testing_support::PumpMessages();
}

TEST(ProgramCycles, AHundredCyclesOfTheProgramsFlowGrowNothing) {
  ASSERT_TRUE(testing_support::GdiAccountingAvailable());
  answerHook = SetWindowsHookExW(WH_CBT, AnswerNo, nullptr, GetCurrentThreadId());
  ASSERT_NE(answerHook, nullptr);
  ASSERT_NE(app::form1::Show(), nullptr);
  for (int cycle = 0; cycle < kWarmUpCycles; ++cycle) RunCycle();
  const Footprint start = Measure();
  boxesAnswered = 0;
  for (int cycle = 1; cycle <= kCycles && !HasFatalFailure(); ++cycle) {
    RunCycle();
    if (cycle % kCheckEvery != 0) continue;
    const Footprint now = Measure();
    ASSERT_EQ(now.gdi, start.gdi) << "after cycle " << cycle;
    ASSERT_EQ(now.windows, start.windows) << "after cycle " << cycle;
    ASSERT_LE(now.kernelHandles, start.kernelHandles) << "after cycle " << cycle;
    ASSERT_LE(now.memory, start.memory + kMemorySlackBytes) << "after cycle " << cycle;
    ASSERT_EQ(skin::SkinnedWindowCount(), kSkinnedWindowsOfForm1) << "after cycle " << cycle;
    ASSERT_EQ(ThreadInvariantFaults(), "") << "after cycle " << cycle;
  }
  EXPECT_EQ(boxesAnswered, kCycles) << "every cycle opened one confirmation box";
  app::form1::Unload();
  testing_support::PumpMessages();
  EXPECT_EQ(skin::SkinnedWindowCount(), 0);
  UnhookWindowsHookEx(answerHook);
}

}  // namespace
}  // namespace reliability
