// The skin steps aside for a high-contrast scheme, on the program's real main window loaded in
// the test process. Wine reports high contrast as always off and refuses to switch it on
// (SPI_SETHIGHCONTRAST fails), so the test steers the engine's query through its test seam and
// sends the windows the real change messages.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "skin/engine/high_contrast.h"
#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/sprite_sheet.h"
#include "tests/support/form1_access.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/pictures.h"
#include "tests/support/window_pixels.h"

namespace skin {
namespace {

using testing_support::CountGdiObjects;

bool highContrast = true;
bool SteeredHighContrast() { return highContrast; }

// Switches the scheme and tells the form as the system does.
void SwitchHighContrast(HWND form, bool on) {
  highContrast = on;
  SendMessageW(form, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  SendMessageW(form, WM_SYSCOLORCHANGE, 0, 0);
}

// No skin state on any window, no owner-drawn button, no rounded region, no sprite sheet.
void ExpectPlatformLook(const testing_support::Form1Windows& w) {
  EXPECT_EQ(SkinnedWindowCount(), 0);
  EXPECT_FALSE(SpriteSheetBuilt());
  for (HWND window : {w.form, w.frame, w.command1, w.command2, w.command3, w.command4}) {
    for (const char* key : props::kAllKeys) EXPECT_EQ(GetPropA(window, key), nullptr) << key;
  }
  const gdi::Region region(CreateRectRgn(0, 0, 0, 0));
  for (HWND command : w.commands()) {
    EXPECT_NE(GetWindowLongPtrW(command, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(GetWindowRgn(command, region.get()), ERROR);
  }
}

// The whole form once every paint is done; saved as a picture.
std::vector<COLORREF> FormPixels(HWND form, const wchar_t* pictureName) {
  RedrawWindow(form, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const SIZE size = testing_support::WindowSize(form);
  std::vector<COLORREF> pixels = testing_support::WindowPixels(form, 0, 0, size.cx, size.cy);
  testing_support::SavePixels(pixels, size.cx, size.cy, pictureName, 2);
  return pixels;
}

// Skin off, then on again while a box is open (a dialog with a button, skinned as it is
// activated); true when the box had the skin and stepped aside too.
bool SwitchOffAndOnWithABoxOpen(HWND form) {
  SwitchHighContrast(form, false);
  HWND box = CreateWindowExW(0, L"#32770", L"box", WS_POPUP | WS_CAPTION, 0, 0, 200, 100, form,
                             nullptr, nullptr, nullptr);
  CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE, 60, 30, 75, 23, box, nullptr, nullptr,
                  nullptr);
  ShowWindow(box, SW_SHOW);
  const bool wasSkinned = IsSkinned(GetWindow(box, GW_CHILD));
  SwitchHighContrast(form, true);
  const bool steppedAside = wasSkinned && !IsSkinned(box) && !IsSkinned(GetWindow(box, GW_CHILD));
  DestroyWindow(box);
  return steppedAside;
}

TEST(HighContrast, TheSkinStaysOffUnderHighContrastAndFollowsTheSchemeWhileRunning) {
  const HighContrastQuery platformQuery = SetHighContrastQueryForTesting(SteeredHighContrast);
  {
    // The system keeps the display DCs it made for the most paints at once: let it make them.
    testing_support::LoadedForm1 warmUp;
    SwitchHighContrast(warmUp.windows().form, false);
    FormPixels(warmUp.windows().form, L"high_contrast_off.bmp");
    SwitchOffAndOnWithABoxOpen(warmUp.windows().form);
  }
  const testing_support::GdiCounts beforeLoad = CountGdiObjects();
  {
    testing_support::LoadedForm1 loaded;
    const testing_support::Form1Windows& w = loaded.windows();
    ExpectPlatformLook(w);
    const std::vector<COLORREF> platformLook = FormPixels(w.form, L"high_contrast_on.bmp");
    const testing_support::GdiCounts unskinned = CountGdiObjects();

    SwitchHighContrast(w.form, false);
    EXPECT_EQ(SkinnedWindowCount(), 6);
    EXPECT_NE(FormPixels(w.form, L"high_contrast_off.bmp"), platformLook);
    EXPECT_TRUE(SwitchOffAndOnWithABoxOpen(w.form));
    ExpectPlatformLook(w);
    EXPECT_EQ(FormPixels(w.form, L"high_contrast_on_again.bmp"), platformLook);
    EXPECT_EQ(CountGdiObjects(), unskinned);
  }
  EXPECT_EQ(CountGdiObjects(), beforeLoad);
  SetHighContrastQueryForTesting(platformQuery);
}

}  // namespace
}  // namespace skin
