// The skin steps aside for a high-contrast scheme, on the program's real main window loaded in
// the test process. Wine reports high contrast as always off and refuses to switch it on
// (SPI_SETHIGHCONTRAST fails), so the test steers the engine's query through its test seam and
// sends the windows the real change messages.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "skin/core/high_contrast.h"
#include "skin/core/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/messages/skin_window_proc.h"
#include "tests/support/form1_access.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/pictures.h"
#include "tests/support/window_pixels.h"

namespace skin {
namespace {

using testing_support::CountGdiObjects;
using testing_support::Form1Windows;
using testing_support::GdiCounts;

bool steeredHighContrast = false;
bool SteeredHighContrast() { return steeredHighContrast; }

// Steers the engine's high-contrast query for its lifetime.
class SteeredContrast {
 public:
  explicit SteeredContrast(bool on)
      : previous_(SetHighContrastQueryForTesting(SteeredHighContrast)) {
    steeredHighContrast = on;
  }
  SteeredContrast(const SteeredContrast&) = delete;
  SteeredContrast& operator=(const SteeredContrast&) = delete;
  ~SteeredContrast() { SetHighContrastQueryForTesting(previous_); }

  // Switches the scheme and tells the form as the system does.
  static void Switch(HWND form, bool on) {
    steeredHighContrast = on;
    SendMessageW(form, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    SendMessageW(form, WM_SYSCOLORCHANGE, 0, 0);
  }

 private:
  HighContrastQuery previous_;
};

bool HasAnySkinKey(HWND window) {
  for (const char* key : props::kAllKeys) {
    if (GetPropA(window, key) != nullptr) return true;
  }
  return false;
}

int RegionType(HWND window) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const int type = GetWindowRgn(window, region);
  DeleteObject(region);
  return type;
}

void ExpectPlatformLook(const Form1Windows& w) {
  EXPECT_EQ(SkinnedWindowCount(), 0);
  EXPECT_FALSE(SpriteSheetBuilt);
  for (HWND window : {w.form, w.frame, w.command1, w.command2, w.command3, w.command4}) {
    EXPECT_FALSE(HasAnySkinKey(window));
    EXPECT_NE(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(SkinWindowProc));
  }
  for (HWND command : w.commands()) {
    const LONG_PTR type = GetWindowLongPtrW(command, GWL_STYLE) & BS_TYPEMASK;
    EXPECT_TRUE(type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) << "button type " << type;
    EXPECT_EQ(RegionType(command), ERROR) << "no rounded region";
  }
}

// The whole form, frame and buttons included, once every paint is done; saved as a picture.
std::vector<COLORREF> FormPixels(HWND form, const wchar_t* pictureName) {
  RedrawWindow(form, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const SIZE size = testing_support::WindowSize(form);
  std::vector<COLORREF> pixels = testing_support::WindowPixels(form, 0, 0, size.cx, size.cy);
  testing_support::SavePixels(pixels, size.cx, size.cy, pictureName, 2);
  return pixels;
}

// A box the form opened, skinned as the skin attaches one on activation: a top-level dialog of
// the thread, owned by the form, with a push button.
HWND OpenSkinnedBox(HWND form) {
  HWND box =
      CreateWindowExW(WS_EX_DLGMODALFRAME, L"#32770", L"box", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0,
                      0, 200, 100, form, nullptr, nullptr, nullptr);
  CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 60, 30, 75, 23, box,
                  nullptr, nullptr, nullptr);
  SkinAttachWindow(box);
  return box;
}

// The skin goes on with high contrast off and off again with it on while a skinned box is open.
void SwitchOffAndOnWithABoxOpen(HWND form) {
  SteeredContrast::Switch(form, false);
  HWND box = OpenSkinnedBox(form);
  SteeredContrast::Switch(form, true);
  DestroyWindow(box);
}

TEST(HighContrast, TheSkinStaysOffUnderHighContrastAndFollowsTheSchemeWhileRunning) {
  SteeredContrast contrast(true);
  {
    // The system keeps the display DCs it made for the most paints at once: let it make them.
    testing_support::LoadedForm1 warmUp;
    HWND form = warmUp.windows().form;
    SteeredContrast::Switch(form, false);
    FormPixels(form, L"high_contrast_warm_up.bmp");
    SwitchOffAndOnWithABoxOpen(form);
    FormPixels(form, L"high_contrast_warm_up.bmp");
  }
  const GdiCounts beforeLoad = CountGdiObjects();
  {
    testing_support::LoadedForm1 loaded;
    const Form1Windows& w = loaded.windows();
    ASSERT_NE(w.form, nullptr);
    ExpectPlatformLook(w);
    const std::vector<COLORREF> platformLook = FormPixels(w.form, L"high_contrast_on.bmp");
    const GdiCounts unskinned = CountGdiObjects();

    SteeredContrast::Switch(w.form, false);
    EXPECT_EQ(SkinnedWindowCount(), 6);
    for (HWND command : w.commands()) EXPECT_TRUE(IsSkinned(command));
    const std::vector<COLORREF> skinnedLook = FormPixels(w.form, L"high_contrast_off.bmp");
    EXPECT_NE(skinnedLook, platformLook);

    // On again while a skinned box is open: the box steps aside too, and nothing is left.
    HWND box = OpenSkinnedBox(w.form);
    ASSERT_TRUE(IsSkinned(box));
    SteeredContrast::Switch(w.form, true);
    EXPECT_FALSE(IsSkinned(box));
    EXPECT_FALSE(IsSkinned(GetWindow(box, GW_CHILD)));
    DestroyWindow(box);
    ExpectPlatformLook(w);
    EXPECT_EQ(FormPixels(w.form, L"high_contrast_on_again.bmp"), platformLook);
    EXPECT_EQ(CountGdiObjects(), unskinned);

    for (int cycle = 0; cycle < 50; ++cycle) SwitchOffAndOnWithABoxOpen(w.form);
    EXPECT_EQ(CountGdiObjects(), unskinned);
    SteeredContrast::Switch(w.form, false);
    EXPECT_EQ(FormPixels(w.form, L"high_contrast_off_again.bmp"), skinnedLook);
  }
  EXPECT_EQ(CountGdiObjects(), beforeLoad);
}

}  // namespace
}  // namespace skin
