// End-to-end: the started program shows its main window skinned, and its push buttons fade when
// the pointer moves over them. The skin's state is read from outside through the buttons'
// window properties, as any other process can.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/pictures.h"
#include "tests/support/pointer_input.h"
#include "tests/support/running_program.h"

namespace {

using testing_support::MovePointerOnto;
using testing_support::RunningProgram;
using testing_support::WaitUntil;
using testing_support::WindowText;

LONG_PTR Prop(HWND window, const char* key) {
  return reinterpret_cast<LONG_PTR>(GetPropA(window, key));
}

HWND ChildWithCaption(HWND parent, const std::wstring& caption) {
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (WindowText(child) == caption) return child;
    if (HWND inner = ChildWithCaption(child, caption)) return inner;
  }
  return nullptr;
}

TEST(SkinnedProgram, ButtonsAreSkinnedAndFadeUnderThePointer) {
  RunningProgram program;
  ASSERT_TRUE(program.started());
  HWND form = program.WaitForWindow(L"Morvane");
  ASSERT_NE(form, nullptr);
  HWND command2 = ChildWithCaption(form, L"显示内嵌图片");
  HWND command3 = ChildWithCaption(form, L"关闭内嵌图片");
  ASSERT_NE(command2, nullptr);
  ASSERT_NE(command3, nullptr);

  EXPECT_NE(Prop(form, "PROCADDR"), 0);
  for (HWND command : {command2, command3}) {
    EXPECT_NE(Prop(command, "PROCADDR"), 0);
    EXPECT_NE(Prop(command, "HDC1"), 0);
    EXPECT_EQ(GetWindowLongPtrW(command, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  }

  // The pointer comes over Command2: the hot face fades in on the program's own timer and the
  // fade ends by itself.
  SetCursorPos(2, 2);
  MovePointerOnto(command2);
  EXPECT_TRUE(WaitUntil([&] { return Prop(command2, "MOUSEFLAG") == 1; }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return Prop(command2, "TIMERID") != 0; }, 5000));
  EXPECT_EQ(Prop(command2, "OLDSTATE"), 1);
  EXPECT_TRUE(WaitUntil([&] { return Prop(command2, "TIMERID") == 0; }, 5000));
  EXPECT_EQ(Prop(command2, "ALPHALEVEL"), 0);

  // Command3 pressed (the press arrives as a message; the pointer stays on Command2).
  PostMessageW(command3, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_TRUE(WaitUntil([&] { return Prop(command3, "OLDSTATE") == 2; }, 5000));

  RECT rect{};
  GetWindowRect(form, &rect);
  testing_support::SaveScreenPicture(rect, L"running_program_hot_and_pressed.bmp");
}

}  // namespace
