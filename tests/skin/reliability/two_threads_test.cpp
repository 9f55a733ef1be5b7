// Two user-interface threads that skin forms of their own at the same time. Each has an engine of
// its own (the count, the watch for windows created later, the sprite sheets, the store), and no
// thread takes the skin off, or puts it on, a window of another.

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "skin/core/skin_props.h"
#include "skin/engine/skin_engine.h"
#include "skin/graphics/sprite_sheet.h"
#include "tests/skin/reliability/skin_invariants.h"
#include "tests/support/skin_test_form.h"
#include "win/unique_handle.h"

namespace reliability {
namespace {

constexpr int kRounds = 5;
constexpr int kSkinnedWindowsWithLateButton = 7;  // form, frame, four buttons, one added later

// Waits for the event while serving the thread's messages, so that a thread whose call sends
// one of them a message never waits for this one.
void WaitServingMessages(HANDLE event) {
  while (MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
}

struct UiThread {
  win::KernelHandle ready{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  win::KernelHandle go{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  HWND form = nullptr;
  std::string faults;

  // The end of a step: the test goes on, and this thread waits until it may go on as well.
  void Pause() {
    SetEvent(ready.get());
    WaitServingMessages(go.get());
  }
  void Check(bool holds, int round, const char* what) {
    if (!holds) faults += "round " + std::to_string(round) + ": " + what + "\n";
  }
};

void SkinFormsOfItsOwn(UiThread& self) {
  for (int round = 0; round < kRounds; ++round) {
    testing_support::SkinTestForm form(false);
    ShowWindow(form.form(), SW_SHOWNOACTIVATE);  // a window created later is attached once shown
    self.form = form.form();
    self.Pause();  // both threads install at the same moment
    self.Check(skin::SkinInstall(form.form()) == 1, round, "install");
    HWND late = CreateWindowExW(0, L"BUTTON", L"later", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8,
                                90, 60, 20, form.frame(), nullptr, nullptr, nullptr);
    SendMessageW(form.frame(), WM_NULL, 0, 0);
    self.Check(skin::IsSkinned(late), round, "a button created later is skinned");
    self.Pause();  // the test tries the other threads' windows from its own
    self.Check(skin::SkinnedWindowCount() == kSkinnedWindowsWithLateButton, round, "count");
    const std::string invariants = ThreadInvariantFaults();
    self.Check(invariants.empty(), round, invariants.c_str());
    self.Check(skin::SkinRemove(form.form()) == 1, round, "removal");
    self.Check(skin::SkinnedWindowCount() == 0 && !skin::SpriteSheetBuilt(), round, "at rest");
  }
}

TEST(TwoThreads, EachSkinsItsOwnFormsAndNoneTouchesTheOthers) {
  UiThread threads[2];
  std::thread running[2];
  for (int i = 0; i < 2; ++i) running[i] = std::thread(SkinFormsOfItsOwn, std::ref(threads[i]));
  const auto allReady = [&] {
    for (UiThread& thread : threads) WaitServingMessages(thread.ready.get());
  };
  const auto allGo = [&] {
    for (UiThread& thread : threads) SetEvent(thread.go.get());
  };
  for (int round = 0; round < kRounds; ++round) {
    allReady();
    allGo();
    allReady();
    for (UiThread& thread : threads) {
      EXPECT_EQ(skin::SkinRemove(thread.form), 0);
      EXPECT_EQ(skin::SkinDetachWindow(thread.form), 0);
      EXPECT_EQ(skin::SkinAttachWindow(thread.form), 0);
    }
    EXPECT_EQ(skin::SkinnedWindowCount(), 0);
    allGo();
  }
  for (std::thread& thread : running) thread.join();
  for (const UiThread& thread : threads) EXPECT_EQ(thread.faults, "");
}

}  // namespace
}  // namespace reliability
