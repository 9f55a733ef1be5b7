// The tooltip of the main window's repair commands, in-process at 100 % and 200 %: it shows over
// the skinned button with the setting as it is now, in the buttons' font of the window's DPI, and
// the skin leaves it alone. Run as another account than the one signed in, it names whose setting
// it shows, and a click shows the notice that nothing was changed and why. A picture of each
// tooltip and of the notice is saved.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "app/repair/inline_image_commands.h"
#include "app/repair/inline_images_status.h"
#include "app/system/session_users.h"
#include "app/windows/main_window.h"
#include "app/windows/resource_ids.h"
#include "skin/engine/high_contrast.h"
#include "tests/support/display_scale.h"
#include "tests/support/inline_images_value.h"
#include "tests/support/message_box_watch.h"
#include "tests/support/message_pump.h"
#include "tests/support/pictures.h"
#include "tests/support/pointer_input.h"
#include "tests/support/running_program.h"
#include "tests/support/session_accounts.h"

namespace {

using testing_support::MovePointerTo;
using testing_support::ShownTooltipOf;
using testing_support::WaitUntil;

// The description of the font a window draws its text in.
LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

// Rests the pointer on the button, left of its caption, and waits for the form's tooltip.
HWND HoverForTooltip(HWND form, HWND button, int dpi) {
  MovePointerTo(2, 2);
  WaitUntil([&] { return ShownTooltipOf(form) == nullptr; }, 10000);
  RECT rect{};
  GetWindowRect(button, &rect);
  MovePointerTo(rect.left + 20 * dpi / 96, (rect.top + rect.bottom) / 2);
  HWND tooltip = nullptr;
  WaitUntil([&] { return (tooltip = ShownTooltipOf(form)) != nullptr; }, 10000);
  return tooltip;
}

HWND Command2(HWND form) { return GetDlgItem(GetDlgItem(form, IDC_FRAME2), IDC_COMMAND2); }

bool HighContrastOn() { return true; }

bool Skinned(HWND window) { return GetPropA(window, "PROCADDR") != nullptr; }

TEST(StatusTooltip, ShowsOverTheSkinnedCommandInItsFontAtBothScales) {
  for (const int dpi : {96, 192}) {
    SCOPED_TRACE(dpi);
    HWND form = app::form1::Show();
    ASSERT_NE(form, nullptr);
    testing_support::SendDpiChange(form, dpi);
    HWND command2 = Command2(form);
    HWND tooltip = HoverForTooltip(form, command2, dpi);
    ASSERT_NE(tooltip, nullptr);
    UpdateWindow(form);
    UpdateWindow(tooltip);
    testing_support::PumpMessages();

    EXPECT_EQ(testing_support::WindowText(tooltip), app::CurrentInlineImagesStatusText());
    const LOGFONTW tipFont = FontOf(tooltip);
    const LOGFONTW buttonFont = FontOf(command2);
    EXPECT_EQ(tipFont.lfHeight, buttonFont.lfHeight) << "the buttons' font at the window's DPI";
    EXPECT_EQ(std::wstring(tipFont.lfFaceName), buttonFont.lfFaceName);
    EXPECT_FALSE(Skinned(tooltip)) << "the skin leaves the tooltip alone";
    EXPECT_TRUE(Skinned(command2)) << "the button under it is";
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropA(command2, "MOUSEFLAG")), 1)
        << "the skin tracks the pointer as before";

    RECT area{};
    RECT tip{};
    GetWindowRect(form, &area);
    GetWindowRect(tooltip, &tip);
    UnionRect(&area, &area, &tip);
    EXPECT_FALSE(testing_support::SaveScreenPicture(
                     area, L"status_tooltip_" + std::to_wstring(dpi * 100 / 96) + L".bmp")
                     .empty());
    MovePointerTo(2, 2);
    app::form1::Unload();
  }
}

// The skin comes off under high contrast and back after it, each time over the tooltip's own
// watch of the pointer, which stays in place throughout.
TEST(StatusTooltip, ShowsUnderHighContrastAndAfterTheSkinComesBack) {
  HWND form = app::form1::Show();
  ASSERT_NE(form, nullptr);
  HWND command2 = Command2(form);
  for (const bool highContrast : {true, false}) {
    SCOPED_TRACE(highContrast);
    skin::SetHighContrastQueryForTesting(highContrast ? HighContrastOn : nullptr);
    SendMessageW(form, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(Skinned(command2), !highContrast);
    HWND tooltip = HoverForTooltip(form, command2, 96);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(testing_support::WindowText(tooltip), app::CurrentInlineImagesStatusText());
  }
  MovePointerTo(2, 2);
  app::form1::Unload();
}

// Under a Group Policy the tooltip says what the policy holds, not what the user's own value
// says; with the policy gone it speaks of the user's value again, and of an altered Internet
// Options box after it.
TEST(StatusTooltip, SaysWhatAGroupPolicyHoldsOverTheUsersValue) {
  const payload_tests::InlineImagesValueKeeper keeper;
  ASSERT_TRUE(payload_tests::SetInlineImagesValue(std::wstring(L"yes")));
  const payload_tests::PictureBoxMappingValue checked(L"CheckedValue", std::wstring(L"no"));
  const std::wstring place =
      L"（该策略位于组策略的“用户配置 → 管理模板 → Windows 组件 → Internet Explorer”下，"
      L"管理 Internet 选项中的“显示图片”）";
  HWND form = app::form1::Show();
  ASSERT_NE(form, nullptr);
  HWND command2 = Command2(form);
  {
    const payload_tests::InlineImagesPolicyValue policy(std::wstring(L"no"));
    HWND tooltip = HoverForTooltip(form, command2, 96);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(testing_support::WindowText(tooltip),
              L"内嵌图片由组策略设为关闭状态" + place + L"，只有本机的管理员可以更改。");
  }
  HWND tooltip = HoverForTooltip(form, command2, 96);
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(testing_support::WindowText(tooltip),
            L"内嵌图片当前为显示状态。注意：Internet 选项中的“显示图片”选项已被改动，"
            L"勾选它会再次关闭内嵌图片。");
  MovePointerTo(2, 2);
  app::form1::Unload();
}

// Through the seam that supplies the program's user and the shell's owner.
TEST(StatusTooltip, ForAnotherAccountItNamesWhoseSettingAndAClickChangesNothingAndSaysWhy) {
  const app::SessionUsersSource previous =
      app::SetSessionUsersSource(testing_support::HelperBesideSignedIn);
  HWND form = app::form1::Show();
  ASSERT_NE(form, nullptr);
  // No tooltip reads as no text.
  const std::wstring tip = testing_support::WindowText(HoverForTooltip(form, Command2(form), 96));
  EXPECT_NE(tip.find(L"这是本程序运行所用的账户“PC\\helper”的设置，"
                     L"而不是当前登录的用户“PC\\signed-in”的设置。"),
            std::wstring::npos)
      << testing::PrintToString(tip);
  MovePointerTo(2, 2);

  std::wstring notice;
  testing_support::AnswerMessageBoxes(
      form, [&] { app::form1::Command2_Click(form); },
      [&](HWND box) {
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        testing_support::PumpMessages();
        notice = testing_support::ReadMessageBox(box).text;
        testing_support::SaveWindowPicture(box, L"box_other_account.bmp");
        return IDOK;
      });
  EXPECT_EQ(notice, app::OtherUserSettingNotice(testing_support::HelperBesideSignedIn()));
  app::form1::Unload();
  app::SetSessionUsersSource(previous);
}

}  // namespace
