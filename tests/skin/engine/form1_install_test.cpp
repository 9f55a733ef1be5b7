// The skin on the program's real main window, loaded in the test process: its load puts the skin
// on, its unload takes it off. What an install and a removal do to each window is checked on the
// test form, whose windows are of the same kinds (skin_engine_test.cpp); that a hundred loads and
// unloads leave no GDI object behind, in tests/skin/reliability/program_cycles_test.cpp.

#include <windows.h>

#include <gtest/gtest.h>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/sprite_sheet.h"
#include "tests/support/form1_access.h"

namespace skin {
namespace {

int RegionType(HWND window) {
  const gdi::Region region(CreateRectRgn(0, 0, 0, 0));
  return GetWindowRgn(window, region.get());
}

TEST(Form1Skin, LoadInstallsAndUnloadRemovesTheSkin) {
  {
    testing_support::LoadedForm1 loaded;
    const auto& w = loaded.windows();
    ASSERT_NE(w.form, nullptr);
    for (HWND command : w.commands()) ASSERT_NE(command, nullptr);

    // Form_Load installed the skin: the form, its frame and the four buttons.
    EXPECT_EQ(SkinnedWindowCount(), 6);
    EXPECT_TRUE(SpriteSheetBuilt());
    for (HWND window : {w.form, w.frame}) {
      EXPECT_TRUE(IsSkinned(window));
      int keys = 0;
      for (const char* key : props::kAllKeys) keys += GetPropA(window, key) != nullptr;
      EXPECT_EQ(keys, 1) << "only PROCADDR";
    }
    for (HWND command : w.commands()) {
      EXPECT_TRUE(IsSkinned(command));
      for (int state = 0; state < kSkinStateCount; ++state) {
        EXPECT_NE(GetSkinProp(command, props::kStateSurface[state]), 0);
        EXPECT_NE(GetSkinProp(command, props::kStateBitmap[state]), 0);
      }
      EXPECT_EQ(GetWindowLongPtrW(command, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
      EXPECT_NE(RegionType(command), ERROR);
    }
  }
  // Form_Unload took it off again.
  EXPECT_EQ(SkinnedWindowCount(), 0);
  EXPECT_FALSE(SpriteSheetBuilt());
}

}  // namespace
}  // namespace skin
