// Another component subclasses skinned windows above the skin (an input helper, an accessibility
// tool): the skin keeps each window once, whatever became of its marker, never makes the other
// procedure its own previous one, lets go of a window under it without breaking its chain, and
// forgets a window destroyed while the other procedure swallows its last messages.

#include <windows.h>

#include <gtest/gtest.h>

#include "skin/core/skin_props.h"
#include "skin/engine/skin_engine.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/messages/skin_window_proc.h"
#include "tests/skin/reliability/foreign_subclass.h"
#include "tests/skin/reliability/skin_invariants.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/skin_test_form.h"
#include "tests/support/skin_test_pixels.h"

namespace reliability {
namespace {

// Messages and a repaint of the form and everything in it.
void WorkTheForm(HWND form) {
  SendMessageW(form, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"worked"));
  RedrawWindow(form, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// The marker taken off a form subclassed from outside, and the skin installed again (as on every
// settings broadcast): the form is not attached a second time, so its messages do not go round
// between the two procedures, and the count and the sprite sheet's uses stay as they were.
// Removal leaves the skin's procedure in the chain, passing everything on; a later install takes
// that link up again instead of stacking another.
TEST(ForeignSubclass, AFormSubclassedAboveTheSkinIsAttachedOnceAndLetGoCleanly) {
  foreign.clear();
  testing_support::SkinTestForm form;
  HWND window = form.form();
  ASSERT_EQ(skin::SkinInstall(window), 1);
  SubclassFromOutside(window);
  RemovePropA(window, skin::props::kProcAddr);
  for (int install = 0; install < 2; ++install) skin::SkinInstall(window);
  WorkTheForm(window);
  EXPECT_FALSE(foreign[window].recursed) << "the form's messages went round in a loop";
  EXPECT_EQ(skin::SkinnedWindowCount(), kSkinnedWindowsOfTestForm);
  EXPECT_NE(GetPropA(window, skin::props::kProcAddr), nullptr) << "the marker was not put back";
  wchar_t text[16] = {};
  GetWindowTextW(window, text, 16);
  EXPECT_STREQ(text, L"worked") << "the form's own procedure did not get WM_SETTEXT";

  ASSERT_EQ(skin::SkinRemove(window), 1);
  EXPECT_EQ(skin::SkinnedWindowCount(), 0);
  EXPECT_FALSE(skin::SpriteSheetBuilt()) << "a use of the sprite sheet was left behind";
  EXPECT_EQ(ThreadInvariantFaults(), "");
  const int seenBefore = foreign[window].messages;
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"after"));
  GetWindowTextW(window, text, 16);
  EXPECT_GT(foreign[window].messages, seenBefore) << "the foreign procedure was cut off";
  EXPECT_STREQ(text, L"after") << "the link did not pass the message on";

  ASSERT_EQ(skin::SkinInstall(window), 1);
  EXPECT_EQ(skin::SkinnedWindowCount(), kSkinnedWindowsOfTestForm);
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(ForeignProcedure));
  EXPECT_EQ(foreign[window].previous, &skin::SkinWindowProc) << "another link was stacked";
  WorkTheForm(window);
  EXPECT_FALSE(foreign[window].recursed);
  EXPECT_EQ(skin::SkinRemove(window), 1);
  form.Destroy();
  EXPECT_FALSE(skin::RemembersWindow(window));
}

LONG_PTR ButtonType(HWND button) { return GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK; }

// A default push button subclassed from outside, then the skin removed and installed again (as
// high contrast going on and off does): the attach through the link changes the button to
// owner-drawn past the other procedure without taking that for a type change of its own, so the
// skin draws the button again, and the last removal leaves it a default push button.
TEST(ForeignSubclass, APushButtonReattachedThroughALinkIsDrawnAndRestored) {
  foreign.clear();
  testing_support::SkinTestForm form;
  HWND button = form.wideButton();
  SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
  ASSERT_EQ(skin::SkinInstall(form.form()), 1);
  SubclassFromOutside(button);
  ASSERT_EQ(skin::SkinRemove(form.form()), 1);
  ASSERT_EQ(ButtonType(button), BS_DEFPUSHBUTTON) << "the first removal lost the type";

  ASSERT_EQ(skin::SkinInstall(form.form()), 1);
  EXPECT_EQ(skin::SkinHoldOf(button), skin::SkinHold::kSkinned) << "the button was let go";
  EXPECT_EQ(skin::SkinnedWindowCount(), kSkinnedWindowsOfTestForm);
  EXPECT_EQ(ButtonType(button), BS_OWNERDRAW);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropA(button, skin::props::kOldStyle)) & BS_TYPEMASK,
            BS_DEFPUSHBUTTON)
      << "the skin does not know the button's own type";
  UpdateWindow(form.form());
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(
      testing_support::CountDifferencesInRegion(button, testing_support::StatePixels(button, 0)), 0)
      << "the skin does not draw the button's face";
  EXPECT_FALSE(foreign[button].recursed);

  ASSERT_EQ(skin::SkinRemove(form.form()), 1);
  EXPECT_EQ(ButtonType(button), BS_DEFPUSHBUTTON) << "the last removal did not restore the type";
  EXPECT_EQ(skin::SkinnedWindowCount(), 0);
  EXPECT_FALSE(skin::SpriteSheetBuilt()) << "a use of the sprite sheet was left behind";
  EXPECT_EQ(ThreadInvariantFaults(), "");
}

// A button whose subclass keeps WM_DESTROY and WM_NCDESTROY from the skin: its skin is taken off
// as it is destroyed all the same, every GDI object of it returned, and its entry ends, so that a
// new window given its handle is not taken for it.
TEST(ForeignSubclass, AButtonDestroyedUnderASubclassThatSwallowsItsEndIsForgotten) {
  ASSERT_TRUE(testing_support::GdiAccountingAvailable());
  const auto scenario = [] {
    foreign.clear();
    testing_support::SkinTestForm form;
    ASSERT_EQ(skin::SkinInstall(form.form()), 1);
    HWND button = form.wideButton();
    SubclassFromOutside(button, true);
    DestroyWindow(button);
    EXPECT_FALSE(skin::RemembersWindow(button));
    EXPECT_EQ(skin::SkinnedWindowCount(), kSkinnedWindowsOfTestForm - 1);
    EXPECT_EQ(skin::SkinRemove(form.form()), 1);
  };
  scenario();
  const testing_support::GdiCounts before = testing_support::CountGdiObjects();
  scenario();
  EXPECT_EQ(testing_support::CountGdiObjects(), before);
  EXPECT_EQ(skin::SkinnedWindowCount(), 0);
  EXPECT_EQ(ThreadInvariantFaults(), "");
}

}  // namespace
}  // namespace reliability
