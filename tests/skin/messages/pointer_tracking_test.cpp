// The fade timer and the leave notification on a plain top-level window under the pointer.

#include <windows.h>

#include <gtest/gtest.h>

#include "skin/core/skin_props.h"
#include "skin/messages/fade_timer.h"
#include "skin/messages/pointer_tracking.h"
#include "tests/support/message_pump.h"
#include "tests/support/message_recorder.h"
#include "tests/support/skin_test_form.h"
#include "tests/support/window_class.h"

namespace skin {
namespace {

constexpr DWORD kLeaveWaitMs = 2000;

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

// Either tracking function arms the leave notification for the window under the pointer; when
// the pointer then leaves, the notification arrives.
TEST_F(HoverTarget, LeaveIsReportedThroughEitherTrackingFunction) {
  testing_support::MessageRecorder received;
  received.Watch(window_);
  for (bool useUser32 : {true, false}) {
    SCOPED_TRACE(useUser32 ? "user32" : "comctl32");
    SetCursorPos(330, 315);
    ASSERT_EQ(WindowFromPoint(POINT{330, 315}), window_);
    testing_support::DropQueuedMessages(window_);
    received.Clear();
    TrackMouseLeaveWith(window_, useUser32);
    TRACKMOUSEEVENT query{sizeof(TRACKMOUSEEVENT), TME_QUERY, nullptr, 0};
    TrackMouseEvent(&query);
    EXPECT_EQ(query.hwndTrack, window_);
    EXPECT_NE(query.dwFlags & TME_LEAVE, 0u);
    SetCursorPos(5, 5);
    EXPECT_TRUE(testing_support::WaitUntil([&] { return received.Saw(window_, WM_MOUSELEAVE); },
                                           kLeaveWaitMs));
  }
}

}  // namespace
}  // namespace skin
