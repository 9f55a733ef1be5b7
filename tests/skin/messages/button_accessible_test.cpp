// A skinned push button's accessible object: its name and shortcut from the caption, its state,
// and the platform's own object again once the skin has let go of the button.

#include <windows.h>

#include <gtest/gtest.h>

#include "accessible/accessible_base.h"
#include "accessible/thread_apartment.h"
#include "skin/engine/skin_engine.h"
#include "skin/messages/button_accessible.h"
#include "tests/support/accessible_reading.h"
#include "tests/support/skin_test_form.h"

namespace skin {
namespace {

TEST(ButtonAccessible, NameAndShortcutComeFromTheCaptionsMnemonic) {
  struct Case {
    const wchar_t* caption;
    const wchar_t* name;
    const wchar_t* shortcut;
  };
  constexpr Case kCases[] = {
      {L"说明", L"说明", L""},    {L"&Yes", L"Yes", L"Alt+Y"}, {L"确定(&o)", L"确定(o)", L"Alt+O"},
      {L"A && B", L"A & B", L""}, {L"&&&x", L"&x", L"Alt+X"},  {L"end&", L"end", L""},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CaptionWithoutMnemonic(c.caption), c.name) << c.caption;
    EXPECT_EQ(MnemonicShortcut(c.caption), c.shortcut) << c.caption;
  }
}

TEST(ButtonAccessible, ReadsAsAPushButtonWhileSkinnedAndAsThePlatformsAfterwards) {
  const accessible::ThreadApartment apartment;
  testing_support::SkinTestForm form;
  HWND button = form.wideButton();
  const long platformRole = testing_support::ReadNode(testing_support::ClientObjectOf(button)).role;
  ASSERT_EQ(SkinInstall(form.form()), 1);
  const testing_support::AccessibleRef skinned = testing_support::ClientObjectOf(button);
  const VARIANT self = testing_support::ChildVariant(CHILDID_SELF);
  EXPECT_EQ(testing_support::ReadNode(skinned).role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(testing_support::ReadNode(skinned).name, L"显示内嵌图片");
  EnableWindow(button, FALSE);
  constexpr long kAvailability = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE;
  EXPECT_EQ(testing_support::ReadNode(skinned).state & kAvailability, STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(skinned->accDoDefaultAction(self), E_ACCESSDENIED) << "refused, as a click would be";
  EnableWindow(button, TRUE);
  EXPECT_EQ(testing_support::ReadNode(skinned).state & kAvailability, STATE_SYSTEM_FOCUSABLE);

  ASSERT_EQ(SkinRemove(form.form()), 1);
  long count = 0;
  EXPECT_EQ(skinned->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(testing_support::ReadNode(testing_support::ClientObjectOf(button)).role, platformRole)
      << "the platform's own object answers again";
}

}  // namespace
}  // namespace skin
