// Skinned windows that end at awkward moments: in the middle of a fade, while a message box of
// theirs is open, while a combo box's list is dropped down; a form that loses the skin while a
// child is hot; a skinned form whose children come and go. Each scenario runs twice and the
// second run must end with exactly the GDI objects it started with (the first run lets the
// system create the objects it caches on first use), no skinned window left and the
// invariants holding for every window of the thread.

#include <windows.h>

#include <functional>

#include <gtest/gtest.h>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/messages/fade_timer.h"
#include "tests/skin/reliability/skin_invariants.h"
#include "tests/skin/skin_test_windows.h"
#include "tests/support/message_pump.h"
#include "tests/support/control_gallery.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/skin_test_form.h"
#include "tests/support/window_class.h"

namespace reliability {
namespace {

constexpr int kFadeTicksBeforeTheEnd = 10;

// Runs the scenario once to warm up, then again between two exact GDI counts.
void ExpectNothingLeftBehind(const std::function<void()>& scenario) {
  ASSERT_TRUE(testing_support::GdiAccountingAvailable());
  scenario();
  testing_support::PumpMessages();
  const testing_support::GdiCounts before = testing_support::CountGdiObjects();
  scenario();
  testing_support::PumpMessages();
  EXPECT_EQ(testing_support::CountGdiObjects(), before);
  EXPECT_EQ(skin::SkinnedWindowCount(), 0);
  EXPECT_EQ(ThreadInvariantFaults(), "");
}

TEST(Lifetimes, ButtonDestroyedInTheMiddleOfAFade) {
  ExpectNothingLeftBehind([] {
    testing_support::SkinTestForm form;
    ASSERT_EQ(skin::SkinInstall(form.form()), 1);
    HWND button = form.wideButton();
    testing_support::MoveCursorTo(button);  // hover needs the pointer over the button
    SendMessageW(button, WM_MOUSEMOVE, 0, 0);
    for (int tick = 0; tick < kFadeTicksBeforeTheEnd; ++tick) {
      SendMessageW(button, WM_TIMER, skin::kFadeTimerId, 0);
    }
    ASSERT_NE(skin::GetSkinProp(button, skin::props::kTimerId), 0) << "the fade should still run";
    DestroyWindow(button);
    EXPECT_EQ(skin::SkinnedWindowCount(), kSkinnedWindowsOfTestForm - 1);
    EXPECT_EQ(ThreadInvariantFaults(), "");
  });
}

// When the message box that the form opens becomes active, a thread hook posts a message to a
// helper window; the box's own modal loop delivers it once the activation is over (and the box
// skinned), and the helper destroys the form under the open box.
constexpr UINT kDestroyTheForm = WM_APP + 1;

struct BoxWatch {
  HWND form = nullptr;
  HWND helper = nullptr;
  HHOOK hook = nullptr;
  HWND box = nullptr;
  bool boxWasSkinned = false;
  bool boxWasOpen = false;
};
BoxWatch boxWatch;

LRESULT CALLBACK NoticeBoxActivation(int code, WPARAM wParam, LPARAM lParam) {
  HWND activated = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && boxWatch.box == nullptr &&
      GetWindow(activated, GW_OWNER) == boxWatch.form) {
    boxWatch.box = activated;
    PostMessageW(boxWatch.helper, kDestroyTheForm, 0, 0);
  }
  return CallNextHookEx(boxWatch.hook, code, wParam, lParam);
}

LRESULT CALLBACK HelperProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kDestroyTheForm) {
    boxWatch.boxWasOpen = IsWindowVisible(boxWatch.box) != FALSE;
    boxWatch.boxWasSkinned = skin::IsSkinned(boxWatch.box);
    DestroyWindow(boxWatch.form);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateHelperWindow() {
  return CreateWindowExW(
      0, testing_support::TestWindowClass(L"MorvaneLifetimeHelper", HelperProcedure), L"", 0, 0, 0,
      0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(Lifetimes, FormDestroyedWhileItsMessageBoxIsOpen) {
  ExpectNothingLeftBehind([] {
    testing_support::SkinTestForm form;
    boxWatch = {};
    boxWatch.form = form.form();
    boxWatch.helper = CreateHelperWindow();
    boxWatch.hook = SetWindowsHookExW(WH_CBT, NoticeBoxActivation, nullptr, GetCurrentThreadId());
    ASSERT_EQ(skin::SkinInstall(form.form()), 1);
    MessageBoxW(form.form(), L"Box", L"Lifetimes", MB_OK);
    UnhookWindowsHookEx(boxWatch.hook);
    DestroyWindow(boxWatch.helper);
    ASSERT_NE(boxWatch.box, nullptr) << "no message box became active";
    EXPECT_TRUE(boxWatch.boxWasOpen);
    EXPECT_TRUE(boxWatch.boxWasSkinned) << "the box was not skinned while it was open";
    EXPECT_FALSE(IsWindow(form.form()));
    EXPECT_FALSE(IsWindow(boxWatch.box));
  });
}

TEST(Lifetimes, FormDestroyedWhileAComboListIsDropped) {
  ExpectNothingLeftBehind([] {
    testing_support::SkinTestForm form;
    HWND combo =
        CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 8, 8, 120,
                        200, form.form(), nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const wchar_t* item : {L"one", L"two", L"three"}) {
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    ASSERT_EQ(skin::SkinInstall(form.form()), 1);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    HWND list = skin_tests::ComboListOf(combo);
    ASSERT_NE(list, nullptr);
    UpdateWindow(list);
    testing_support::PumpMessages();
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_TRUE(skin::IsSkinned(list)) << "the dropped list was not skinned";
    form.Destroy();
    EXPECT_FALSE(IsWindow(list));
  });
}

TEST(Lifetimes, SkinRemovedFromAFormWhileAButtonIsHot) {
  ExpectNothingLeftBehind([] {
    testing_support::SkinTestForm form;
    ASSERT_EQ(skin::SkinInstall(form.form()), 1);
    HWND button = form.narrowButton();
    testing_support::MoveCursorTo(button);
    SendMessageW(button, WM_MOUSEMOVE, 0, 0);
    ASSERT_EQ(skin::GetSkinProp(button, skin::props::kMouseFlag), 1);
    ASSERT_NE(skin::GetSkinProp(button, skin::props::kTimerId), 0);
    EXPECT_EQ(skin::SkinRemove(form.form()), 1);
    EXPECT_FALSE(FadeTimerRuns(button)) << "the fade timer outlived the skin";
    EXPECT_EQ(skin::SkinnedWindowCount(), 0);
    EXPECT_EQ(ThreadInvariantFaults(), "");
    testing_support::DropQueuedMessages(button);
  });
}

TEST(Lifetimes, ChildrenCreatedAndDestroyedAfterTheInstall) {
  ExpectNothingLeftBehind([] {
    testing_support::SkinTestForm form;
    ASSERT_EQ(skin::SkinInstall(form.form()), 1);
    HWND added[3] = {};
    for (int i = 0; i < 3; ++i) {
      added[i] =
          CreateWindowExW(0, L"Button", L"added", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8 + 40 * i,
                          90, 36, 20, form.frame(), nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    SendMessageW(form.frame(), WM_NULL, 0, 0);
    EXPECT_EQ(skin::SkinnedWindowCount(), kSkinnedWindowsOfTestForm + 3)
        << "children created later are skinned as they appear";
    EXPECT_EQ(skin::SkinAttachWindow(added[1]), 0);
    DestroyWindow(form.buttons()[0]);
    DestroyWindow(added[0]);
    DestroyWindow(added[1]);
    EXPECT_EQ(skin::SkinnedWindowCount(), kSkinnedWindowsOfTestForm + 3 - 3);
    EXPECT_EQ(ThreadInvariantFaults(), "");
    EXPECT_EQ(skin::SkinRemove(form.form()), 1);
    EXPECT_EQ(skin::SkinnedWindowCount(), 0);
    EXPECT_FALSE(skin::IsSkinned(added[2]));
  });
}

}  // namespace
}  // namespace reliability
