#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/surface.h"
#include "skin/messages/fade_timer.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/pictures.h"
#include "tests/support/skin_test_form.h"
#include "tests/support/skin_test_pixels.h"
#include "tests/support/window_pixels.h"

namespace skin {
namespace {

using testing_support::CountDifferencesInRegion;
using testing_support::DropQueuedMessages;
using testing_support::PointAtMiddle;
using testing_support::ReadWindowPixels;
using testing_support::StatePixels;
using testing_support::TicksUntilFadeEnds;
using testing_support::WindowSize;

LONG_PTR Prop(HWND window, const char* key) { return GetSkinProp(window, key); }

class ButtonHandlersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFocus(form_.form());
    ASSERT_EQ(SkinInstall(form_.form()), 1);
    button_ = form_.wideButton();
    PointAtMiddle(button_);
    RedrawWindow(form_.form(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DropQueuedMessages(button_);
  }
  void TearDown() override {
    if (GetCapture() != nullptr) ReleaseCapture();
    SkinRemove(form_.form());
    EXPECT_EQ(SkinnedWindowCount(), 0);
  }
  void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    SendMessageW(button_, message, wParam, lParam);
  }
  testing_support::SkinTestForm form_;
  HWND button_ = nullptr;
};

struct Message {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// What the button shows after messages from the pointer or the keyboard: the state, the fade
// level and the pointer flag they leave, and the fade they start, stepped by ticks of any timer
// identifier (three levels a tick up to the full face) until the button shows its state's face
// exactly. A case without ticks runs no fade and shows that face at once.
struct ButtonCase {
  const char* name;
  std::vector<Message> messages;
  bool pointerAwayBeforeLast;  // the pointer is moved off the button before the last message
  LONG_PTR mouseFlag;
  int state;
  LONG_PTR level;
  WPARAM tickId;
  int ticks;
};

constexpr LPARAM kAt = MAKELPARAM(10, 10);
constexpr Message kMove{WM_MOUSEMOVE, 0, kAt};
constexpr Message kPress{WM_LBUTTONDOWN, MK_LBUTTON, kAt};
constexpr LPARAM kKeyReleased = static_cast<LPARAM>(0xC0000001u);  // a key-up's repeat and flags

// clang-format off
const ButtonCase kButtonCases[] = {
    {"Entering", {kMove}, false, 1, 1, 0, 42, 86},
    {"Release", {kPress, {WM_LBUTTONUP, 0, kAt}}, false, 0, 0, 60, kFadeTimerId, 66},
    {"Leave", {kMove, {WM_MOUSELEAVE, 0, 0}}, false, 0, 0, 0, 7, 86},
    {"SpaceBarRelease", {{WM_KEYDOWN, VK_SPACE, 1}, {WM_KEYUP, VK_SPACE, kKeyReleased}}, false,
     0, 0, 0, kFadeTimerId, 86},
    {"PressDuringTheHoverFade", {kMove, kPress}, false, 1, 2, 0, 0, 0},
    {"DoubleClickDuringTheHoverFade", {kMove, {WM_LBUTTONDBLCLK, MK_LBUTTON, kAt}}, false,
     1, 2, 0, 0, 0},
    {"DragOffTheButtonEndsTheFade", {kMove, {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-50, -50)}}, true,
     1, 1, 255, 0, 0},
    // No leave notification would ever come for this move: the button stays as painted.
    {"MoveWhileThePointerIsElsewhere", {kMove}, true, 0, 0, 255, 0, 0},
};
// clang-format on

class ButtonMessagesTest : public ButtonHandlersTest,
                           public testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonMessagesTest, LeaveTheirStateAndFadeToItsFullFace) {
  const ButtonCase& c = GetParam();
  for (size_t i = 0; i < c.messages.size(); ++i) {
    if (c.pointerAwayBeforeLast && i + 1 == c.messages.size()) SetCursorPos(2, 2);
    Send(c.messages[i].message, c.messages[i].wParam, c.messages[i].lParam);
  }
  EXPECT_EQ(Prop(button_, props::kMouseFlag), c.mouseFlag);
  EXPECT_EQ(Prop(button_, props::kOldState), c.state);
  EXPECT_EQ(Prop(button_, props::kAlphaLevel), c.level);
  EXPECT_EQ(Prop(button_, props::kTimerId) != 0, c.ticks != 0) << "a fade runs";
  EXPECT_EQ(TicksUntilFadeEnds(button_, 1000, c.tickId), c.ticks);
  if (c.ticks != 0) {
    EXPECT_EQ(Prop(button_, props::kAlphaLevel), 0);
  }
  EXPECT_FALSE(KillTimer(button_, kFadeTimerId)) << "the platform timer is left running";
  EXPECT_EQ(CountDifferencesInRegion(button_, StatePixels(button_, c.state)), 0);
}

INSTANTIATE_TEST_SUITE_P(Messages, ButtonMessagesTest, testing::ValuesIn(kButtonCases),
                         [](const testing::TestParamInfo<ButtonCase>& test) {
                           return std::string(test.param.name);
                         });

// The fade the leave starts is a row of the table above.
TEST_F(ButtonHandlersTest, LeaveBlendsTheHotFaceAt140AndRedirectsTheRunningFade) {
  const SIZE size = WindowSize(button_);
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  const LONG_PTR timer = Prop(button_, props::kTimerId);

  // What the leave must show: the current picture with the hot face blended over it at 140.
  const std::vector<COLORREF> before = ReadWindowPixels(button_);
  Surface expected(size.cx, size.cy);
  {
    gdi::WindowDc windowDc(button_);
    BitBlt(expected.get(), 0, 0, size.cx, size.cy, windowDc.get(), 0, 0, SRCCOPY);
  }
  GdiAlphaBlend(expected.get(), 0, 0, size.cx, size.cy,
                GetSkinPropHandle<HDC>(button_, props::kStateSurface[1]), 0, 0, size.cx, size.cy,
                BLENDFUNCTION{AC_SRC_OVER, 0, 140, 0});

  Send(WM_MOUSELEAVE);
  EXPECT_EQ(CountDifferencesInRegion(
                button_, testing_support::ReadSurfacePixels(expected.get(), size.cx, size.cy)),
            0);
  EXPECT_NE(CountDifferencesInRegion(button_, before), 0);
  EXPECT_EQ(Prop(button_, props::kTimerId), timer);  // the running fade is redirected
}

TEST_F(ButtonHandlersTest, EnteringAgainRestartsTheLevelWithoutASecondTimer) {
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  for (int i = 0; i < 10; ++i) Send(WM_TIMER, kFadeTimerId);
  Send(WM_MOUSELEAVE);
  for (int i = 0; i < 5; ++i) Send(WM_TIMER, kFadeTimerId);
  const LONG_PTR timer = Prop(button_, props::kTimerId);
  ASSERT_NE(timer, 0);
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(12, 10));
  EXPECT_EQ(Prop(button_, props::kTimerId), timer);
  EXPECT_EQ(StartFadeTimer(button_), 0u);
  EXPECT_EQ(Prop(button_, props::kOldState), 1);
  EXPECT_EQ(Prop(button_, props::kAlphaLevel), 0);
  EXPECT_EQ(Prop(button_, props::kMouseFlag), 1);
}

TEST_F(ButtonHandlersTest, OnlyTheSpaceBarPressesAndReleases) {
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  std::map<std::string, LONG_PTR> before;
  for (const char* key : props::kAllKeys) before[key] = Prop(button_, key);
  for (WPARAM key : {WPARAM{'A'}, WPARAM{VK_RETURN}, WPARAM{VK_TAB}}) {
    Send(WM_KEYDOWN, key, 1);
    Send(WM_KEYUP, key, 0xC0000001);
  }
  for (const char* key : props::kAllKeys) EXPECT_EQ(Prop(button_, key), before[key]) << key;

  Send(WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_EQ(Prop(button_, props::kOldState), 2);
  EXPECT_EQ(Prop(button_, props::kTimerId), 0);
  EXPECT_EQ(CountDifferencesInRegion(button_, StatePixels(button_, 2)), 0);
}

TEST_F(ButtonHandlersTest, PaintEndsARunningFadeOnTheFullFace) {
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  Send(WM_TIMER, kFadeTimerId);
  RedrawWindow(button_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(Prop(button_, props::kTimerId), 0);
  EXPECT_EQ(Prop(button_, props::kAlphaLevel), 255);
  EXPECT_EQ(CountDifferencesInRegion(button_, StatePixels(button_, 1)), 0);
}

TEST_F(ButtonHandlersTest, KeepsItsPushButtonRoleForTheDialogManager) {
  auto dialogCode = [&] { return SendMessageW(button_, WM_GETDLGCODE, 0, 0); };
  auto type = [&] { return GetWindowLongPtrW(button_, GWL_STYLE) & BS_TYPEMASK; };
  EXPECT_EQ(dialogCode(), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);

  // The default role comes and goes; the button stays owner-drawn and its face stays as it is.
  const std::vector<COLORREF> face = ReadWindowPixels(button_);
  SendMessageW(button_, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(dialogCode(), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  EXPECT_EQ(type(), BS_OWNERDRAW);
  EXPECT_FALSE(GetUpdateRect(button_, nullptr, FALSE)) << "the role needs no repaint";
  EXPECT_EQ(ReadWindowPixels(button_), face);
  SendMessageW(button_, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  EXPECT_EQ(dialogCode(), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);

  // The detach gives the button the type it holds last.
  SendMessageW(button_, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  SkinRemove(form_.form());
  EXPECT_EQ(type(), BS_DEFPUSHBUTTON);
  EXPECT_EQ(dialogCode(), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);

  // Turned into a radio button while skinned, it leaves the skin and behaves as one.
  ASSERT_EQ(SkinInstall(form_.form()), 1);
  SendMessageW(button_, BM_SETSTYLE, BS_AUTORADIOBUTTON, TRUE);
  EXPECT_FALSE(IsSkinned(button_));
  EXPECT_EQ(type(), BS_AUTORADIOBUTTON);
  EXPECT_EQ(SkinnedWindowCount(), 5);
  SendMessageW(button_, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(button_, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ButtonHandlersTest, FocusRerendersTheFacesAndFadesFromZero) {
  const std::vector<COLORREF> unfocused = StatePixels(button_, 0);
  SetFocus(button_);
  EXPECT_NE(StatePixels(button_, 0), unfocused);
  EXPECT_EQ(Prop(button_, props::kAlphaLevel), 0);
  EXPECT_NE(Prop(button_, props::kTimerId), 0);
  SetFocus(form_.form());
  EXPECT_EQ(StatePixels(button_, 0), unfocused);
}

TEST_F(ButtonHandlersTest, ResizeGivesNewSurfacesAndRegionAndLeaksNothing) {
  EXPECT_GDI_OBJECTS_UNCHANGED({
    SetWindowPos(button_, nullptr, 0, 0, 200, 31, SWP_NOMOVE | SWP_NOZORDER);
    for (int state = 0; state < kSkinStateCount; ++state) {
      HDC surface = GetSkinPropHandle<HDC>(button_, props::kStateSurface[state]);
      HBITMAP bitmap = GetSkinPropHandle<HBITMAP>(button_, props::kStateBitmap[state]);
      EXPECT_EQ(GetCurrentObject(surface, OBJ_BITMAP), bitmap);
      BITMAP info{};
      GetObjectW(bitmap, sizeof(info), &info);
      EXPECT_EQ(info.bmWidth, 200);
      EXPECT_EQ(info.bmHeight, 31);
    }
  });
  const gdi::Region region(CreateRectRgn(0, 0, 0, 0));
  const gdi::Region expected(CreateRoundRectRgn(0, 0, 201, 32, 3, 3));
  ASSERT_NE(GetWindowRgn(button_, region.get()), ERROR);
  EXPECT_TRUE(EqualRgn(region.get(), expected.get()));
}

// A form whose command handler takes the skin off, as unloading the main window does.
LRESULT CALLBACK RemovingFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) SkinRemove(window);
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(ButtonClick, AClickThatRemovesTheSkinLeavesNoStateBehind) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = RemovingFormProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"Form";  // a form by its class name
  RegisterClassW(&wc);
  HWND form = CreateWindowExW(0, L"Form", L"", WS_POPUP | WS_VISIBLE, 50, 50, 200, 80, nullptr,
                              nullptr, wc.hInstance, nullptr);
  HWND button = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10,
                                10, 100, 25, form, nullptr, wc.hInstance, nullptr);
  ASSERT_EQ(SkinInstall(form), 1);
  ASSERT_EQ(SkinnedWindowCount(), 2);

  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));  // the click removes the skin
  EXPECT_EQ(SkinnedWindowCount(), 0);
  for (const char* key : props::kAllKeys) EXPECT_EQ(GetPropA(button, key), nullptr) << key;
  EXPECT_FALSE(KillTimer(button, kFadeTimerId));
  DestroyWindow(form);
  UnregisterClassW(L"Form", wc.hInstance);
}

}  // namespace
}  // namespace skin
