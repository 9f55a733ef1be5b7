// The skin on the program's real main window, loaded in the test process.

#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/messages/skin_window_proc.h"
#include "tests/support/form1_access.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/window_properties.h"

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
    EXPECT_EQ(SkinInstall(w.form), 0);
    EXPECT_EQ(SkinnedWindowCount(), 6);

    // Taken off by hand: every window as it was without the skin.
    std::map<HWND, LONG_PTR> oldStyles;
    for (HWND command : w.commands()) oldStyles[command] = GetSkinProp(command, props::kOldStyle);
    EXPECT_EQ(SkinRemove(w.form), 1);
    EXPECT_EQ(SkinnedWindowCount(), 0);
    EXPECT_FALSE(SpriteSheetBuilt());
    EXPECT_EQ(ButtonSprite(), nullptr);
    for (HWND window : {w.form, w.frame})
      EXPECT_FALSE(testing_support::CarriesAnySkinProperty(window));
    for (HWND command : w.commands()) {
      EXPECT_FALSE(testing_support::CarriesAnySkinProperty(command));
      EXPECT_EQ(GetWindowLongPtrW(command, GWL_STYLE), oldStyles[command]);
      EXPECT_EQ(RegionType(command), ERROR);
      EXPECT_NE(GetWindowLongPtrW(command, GWLP_WNDPROC),
                reinterpret_cast<LONG_PTR>(SkinWindowProc));
    }

    EXPECT_EQ(SkinInstall(w.form), 1);
    EXPECT_TRUE(SpriteSheetBuilt());
    EXPECT_NE(ButtonSprite(), nullptr);
    EXPECT_EQ(SkinnedWindowCount(), 6);
  }
  // Form_Unload took it off again.
  EXPECT_EQ(SkinnedWindowCount(), 0);
  EXPECT_FALSE(SpriteSheetBuilt());
}

// Exact accounting: an object lost per cycle shows as a hundred after a hundred cycles, and each
// cycle does the same, so more cycles would find nothing more.
TEST(Form1Skin, HundredInstallRemoveCyclesLeakNothing) {
  testing_support::LoadedForm1 loaded;
  HWND form = loaded.windows().form;
  ASSERT_EQ(SkinRemove(form), 1);
  EXPECT_GDI_OBJECTS_UNCHANGED({
    for (int cycle = 0; cycle < 100; ++cycle) {
      ASSERT_EQ(SkinInstall(form), 1);
      ASSERT_EQ(SkinRemove(form), 1);
    }
  });
  SkinInstall(form);
}

TEST(Form1Skin, LoadAndUnloadLeakNothing) {
  { testing_support::LoadedForm1 warmUp; }
  EXPECT_GDI_OBJECTS_UNCHANGED({
    for (int cycle = 0; cycle < 20; ++cycle) {
      testing_support::LoadedForm1 loaded;
    }
  });
}

}  // namespace
}  // namespace skin
