// The skinned push buttons of the program's real main window.

#include <windows.h>

#include <gtest/gtest.h>

#include "app/windows/main_window.h"
#include "skin/core/skin_props.h"
#include "skin/engine/skin_engine.h"
#include "tests/support/form1_access.h"
#include "tests/support/pictures.h"
#include "tests/support/skin_test_form.h"

namespace skin {
namespace {

// The picture a person looks at: the skinned main window with Command2 hot (its fade done) and
// Command3 pressed.
TEST(Form1Buttons, PictureWithOneButtonHotAndOnePressed) {
  testing_support::LoadedForm1 loaded;
  const auto& w = loaded.windows();
  RedrawWindow(w.form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

  testing_support::PointAtMiddle(w.command2);
  SendMessageW(w.command2, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
  EXPECT_LT(testing_support::TicksUntilFadeEnds(w.command2), 1000) << "the fade never ended";
  EXPECT_EQ(GetSkinProp(w.command2, props::kOldState), 1);

  SendMessageW(w.command3, WM_KEYDOWN, VK_SPACE, 1);  // pressed without taking the pointer
  EXPECT_EQ(GetSkinProp(w.command3, props::kOldState), 2);
  testing_support::DropQueuedMessages(w.command2);
  testing_support::DropQueuedMessages(w.command3);

  testing_support::SaveWindowPicture(w.form, L"skinned_main_window_hot_and_pressed.bmp");
  // Let go without a click: a release would run the command and its message box.
  ReleaseCapture();
}

}  // namespace
}  // namespace skin
