// The fade timer and the leave notification on a plain top-level window under the pointer.

#include <windows.h>

#include <gtest/gtest.h>

#include "skin/core/skin_props.h"
#include "skin/messages/fade_timer.h"
#include "skin/messages/pointer_tracking.h"
#include "tests/support/skin_test_form.h"
#include "tests/support/window_class.h"

namespace skin {
namespace {

class HoverTarget : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ =
        CreateWindowExW(WS_EX_TOPMOST, testing_support::TestWindowClass(L"MorvaneHoverTarget"), L"",
                        WS_POPUP | WS_VISIBLE, 300, 300, 60, 30, nullptr, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }
  HWND window_ = nullptr;
};

TEST_F(HoverTarget, OneTimerPerWindow) {
  EXPECT_EQ(StopFadeTimer(window_), FALSE);  // none runs
  EXPECT_EQ(GetSkinProp(window_, props::kTimerId), 0);

  EXPECT_EQ(StartFadeTimer(window_), kFadeTimerId);
  EXPECT_EQ(GetSkinProp(window_, props::kTimerId), 1);
  EXPECT_EQ(StartFadeTimer(window_), 0u);  // the running one goes on
  EXPECT_EQ(GetSkinProp(window_, props::kTimerId), 1);

  EXPECT_EQ(StopFadeTimer(window_), TRUE);
  EXPECT_EQ(GetSkinProp(window_, props::kTimerId), 0);
  EXPECT_FALSE(KillTimer(window_, kFadeTimerId));  // really gone
  RemoveSkinProp(window_, props::kTimerId);
}

// Waits (dispatching what arrives) until the window gets WM_MOUSELEAVE or two seconds pass.
bool LeaveArrives(HWND window) {
  const DWORD deadline = GetTickCount() + 2000;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.hwnd == window && message.message == WM_MOUSELEAVE) return true;
      DispatchMessageW(&message);
    }
    const DWORD now = GetTickCount();
    if (static_cast<LONG>(deadline - now) <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, deadline - now, QS_ALLINPUT);
  }
}

// Either tracking function arms the leave notification for the window under the pointer; when
// the pointer then leaves, the notification arrives.
TEST_F(HoverTarget, LeaveIsReportedThroughEitherTrackingFunction) {
  for (bool useUser32 : {true, false}) {
    SCOPED_TRACE(useUser32 ? "user32" : "comctl32");
    SetCursorPos(330, 315);
    ASSERT_EQ(WindowFromPoint(POINT{330, 315}), window_);
    testing_support::DropQueuedMessages(window_);
    TrackMouseLeaveWith(window_, useUser32);
    TRACKMOUSEEVENT query{sizeof(TRACKMOUSEEVENT), TME_QUERY, nullptr, 0};
    TrackMouseEvent(&query);
    EXPECT_EQ(query.hwndTrack, window_);
    EXPECT_NE(query.dwFlags & TME_LEAVE, 0u);
    SetCursorPos(5, 5);
    EXPECT_TRUE(LeaveArrives(window_));
  }
}

}  // namespace
}  // namespace skin
