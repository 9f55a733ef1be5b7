// Run as another account than the one signed in (through the seam that supplies the program's
// user and the shell's owner), the main window in-process: the repair command's tooltip names
// whose setting it shows, and a click shows the notice that nothing was changed and why, over the
// skinned window. A picture of the box is saved.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/repair/inline_image_commands.h"
#include "app/repair/inline_images_status.h"
#include "app/system/session_users.h"
#include "app/windows/main_window.h"
#include "app/windows/resource_ids.h"
#include "tests/support/message_pump.h"
#include "tests/support/pictures.h"
#include "tests/support/pointer_input.h"
#include "tests/support/running_program.h"

namespace {

using testing_support::MovePointerTo;
using testing_support::ShownTooltipOf;
using testing_support::WaitUntil;

constexpr UINT kLookEveryMs = 50;
// The static control that holds a message box's text.
constexpr int kBoxTextId = 0xFFFF;

const app::Account kHelper = {{1, 1, 0, 0, 0, 0, 0, 5, 0x20, 0, 0, 0}, L"PC\\helper"};
const app::Account kSignedIn = {{1, 1, 0, 0, 0, 0, 0, 5, 0x21, 0, 0, 0}, L"PC\\signed-in"};

app::SessionUsers HelperBesideSignedIn(HWND) {
  return {.program = kHelper, .shellOwner = app::ShellOwner::kKnown, .shell = kSignedIn};
}

// The first box over a window, as a thread timer finds it while the box's own loop runs: its
// text, and a picture of it saved under the name given; then it is answered OK.
struct BoxWatch {
  HWND owner = nullptr;
  const wchar_t* picture = nullptr;
  std::wstring text;
};
BoxWatch* watch = nullptr;

void CALLBACK PictureAndAnswer(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = GetLastActivePopup(watch->owner);
  if (box == nullptr || box == watch->owner || !IsWindowVisible(box)) return;
  KillTimer(nullptr, timer);
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  testing_support::PumpMessages();
  watch->text = testing_support::WindowText(GetDlgItem(box, kBoxTextId));
  testing_support::SaveWindowPicture(box, watch->picture);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

HWND Command2(HWND form) { return GetDlgItem(GetDlgItem(form, IDC_FRAME2), IDC_COMMAND2); }

TEST(OtherAccount, TheTooltipNamesWhoseSettingAndAClickChangesNothingAndSaysWhy) {
  const app::SessionUsersSource previous = app::SetSessionUsersSource(HelperBesideSignedIn);
  HWND form = app::form1::Show();
  ASSERT_NE(form, nullptr);

  // The tooltip, shown over the skinned button.
  MovePointerTo(2, 2);
  RECT button{};
  GetWindowRect(Command2(form), &button);
  MovePointerTo(button.left + 20, (button.top + button.bottom) / 2);
  HWND tooltip = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (tooltip = ShownTooltipOf(form)) != nullptr; }, 10000));
  if (tooltip != nullptr) {
    const std::wstring tip = testing_support::WindowText(tooltip);
    EXPECT_NE(tip.find(L"这是本程序运行所用的账户“PC\\helper”的设置，"
                       L"而不是当前登录的用户“PC\\signed-in”的设置。"),
              std::wstring::npos)
        << testing::PrintToString(tip);
  }
  MovePointerTo(2, 2);

  // The click: the notice in a box over the window.
  BoxWatch seen;
  seen.owner = form;
  seen.picture = L"box_other_account.bmp";
  watch = &seen;
  const UINT_PTR timer = SetTimer(nullptr, 0, kLookEveryMs, PictureAndAnswer);
  app::form1::Command2_Click(form);
  KillTimer(nullptr, timer);
  watch = nullptr;
  EXPECT_EQ(seen.text, app::OtherUserSettingNotice(HelperBesideSignedIn(nullptr)));

  app::form1::Unload();
  app::SetSessionUsersSource(previous);
}

}  // namespace
