// A skinned form told a new DPI with WM_DPICHANGED: its windows draw at the sprite factor of that
// DPI (every sprite pixel a k x k square), with or without the form laying itself out again, and
// nothing is left over after any number of changes. Dialogs the form opens keep their own DPI.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "skin/core/skin_props.h"
#include "skin/engine/skin_engine.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/graphics/sprite_tables.h"
#include "skin/painters/button_painter.h"
#include "skin/graphics/primitives.h"
#include "tests/skin/skin_test_windows.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/message_box_watch.h"
#include "tests/support/message_pump.h"
#include "tests/support/pictures.h"
#include "tests/support/skin_test_form.h"
#include "tests/support/skin_test_pixels.h"
#include "tests/support/skinned_gallery.h"
#include "tests/support/window_pixels.h"
#include "win/dpi.h"
#include "win/unique_handle.h"
#include "win/rounding.h"

namespace skin {
namespace {

using skin_tests::kSkinnedWindowsOfTestForm;
using testing_support::CornerFaults;
using testing_support::SpriteCornerFaults;
using testing_support::StatePixels;
using testing_support::WindowPixels;
using testing_support::WindowSize;

void SendDpiChanged(HWND form, int dpi) {
  RECT suggested{};
  GetWindowRect(form, &suggested);
  SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The corners of every state image are the sprite cell's with every pixel a k x k square, and so
// are the corners of the window region (against the region of factor 1 on a 20 x 10 button).
void ExpectFacesAtFactor(HWND button, int k) {
  SCOPED_TRACE(testing::Message() << "button " << button << " at factor " << k);
  const SIZE size = WindowSize(button);
  for (int state = 0; state < kSkinStateCount; ++state) {
    EXPECT_EQ(SpriteCornerFaults(StatePixels(button, state), size, state, k), 0)
        << "state " << state;
  }
  const win::Region unit(
      CreateRoundRectRgn(0, 0, 21, 11, kButtonCornerEllipse, kButtonCornerEllipse));
  const win::Region region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(button, region.get()), ERROR);
  const auto differs = [&](int x, int y, int u, int v) {
    return !PtInRegion(region.get(), x, y) != !PtInRegion(unit.get(), u, v);
  };
  EXPECT_EQ(CornerFaults(size, {20, 10}, k, differs), 0) << "region";
}

// Shows what a button looks like on the screen, four times enlarged.
void SaveButtonPicture(HWND button, const std::wstring& name) {
  testing_support::SaveWindowPicture(button, name, 4);
}

class DpiChangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFocus(form_.form());  // no focus rectangle in the faces
    ASSERT_EQ(SkinInstall(form_.form()), 1);
    testing_support::PumpMessages();
  }
  void TearDown() override {
    SkinRemove(form_.form());
    EXPECT_EQ(SkinnedWindowCount(), 0);
    EXPECT_FALSE(SpriteSheetBuilt());
  }
  testing_support::SkinTestForm form_;
};

// The form does not lay itself out again (the dialog class leaves WM_DPICHANGED alone): the skin
// alone renders the faces and corners at each new factor; the sheet of a factor lives exactly as
// long as windows use it, and the round trip ends with every GDI object as it was.
TEST_F(DpiChangeTest, FacesAndSheetsFollowEachNewDpiAndNothingIsLeftOver) {
  ASSERT_TRUE(testing_support::GdiAccountingAvailable());
  for (HWND button : form_.buttons()) ExpectFacesAtFactor(button, 1);
  const testing_support::GdiCounts before = testing_support::CountGdiObjects();
  for (const int dpi : {192, 144, 96, 192, 96}) {
    SCOPED_TRACE(testing::Message() << dpi << " DPI");
    SendDpiChanged(form_.form(), dpi);
    const int k = SpriteFactorForDpi(dpi);
    for (HWND window : skin_tests::WindowTree(form_.form())) EXPECT_EQ(GetSkinDpi(window), dpi);
    EXPECT_EQ(SpriteSheetUses(k), kSkinnedWindowsOfTestForm);
    EXPECT_EQ(SpriteSheetAt(3 - k).button, nullptr) << "the other sheet went with its last window";
    for (HWND button : form_.buttons()) ExpectFacesAtFactor(button, k);
    if (dpi == 192) SaveButtonPicture(form_.wideButton(), L"dpi_button_192.bmp");
  }
  EXPECT_EQ(testing_support::CountGdiObjects(), before);
  SaveButtonPicture(form_.wideButton(), L"dpi_button_96.bmp");
}

// The form's own procedure as the program's answers WM_DPICHANGED: it resizes the buttons to
// their size at the new DPI and gives them a font of that size.
struct Relayout {
  static inline WNDPROC formProcedure = nullptr;
  static inline std::vector<HWND> buttons;
  static inline std::vector<SIZE> sizesAt96;
  static inline HFONT fonts[2] = {};  // at 96 and 144 DPI, at 192 DPI

  static LRESULT CALLBACK Procedure(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DPICHANGED) {
      const int dpi = LOWORD(wParam);
      for (size_t i = 0; i < buttons.size(); ++i) {
        SetWindowPos(buttons[i], nullptr, 0, 0, MulDiv(sizesAt96[i].cx, dpi, 96),
                     MulDiv(sizesAt96[i].cy, dpi, 96), SWP_NOMOVE | SWP_NOZORDER);
        SendMessageW(buttons[i], WM_SETFONT, reinterpret_cast<WPARAM>(fonts[dpi > 144]), FALSE);
      }
    }
    return CallWindowProcW(formProcedure, form, message, wParam, lParam);
  }
};

// With the form laying itself out again, the faces come out at the new size, factor and font,
// exactly as a fresh rendering draws them; the state images are DIB sections all the while.
TEST_F(DpiChangeTest, FacesFollowTheFormsOwnRelayout) {
  const win::Font small(CreateFontW(-12, 0, 0, 0, 0, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"宋体"));
  const win::Font large(CreateFontW(-24, 0, 0, 0, 0, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"宋体"));
  Relayout::fonts[0] = small.get();
  Relayout::fonts[1] = large.get();
  Relayout::buttons.assign(form_.buttons().begin(), form_.buttons().end());
  Relayout::sizesAt96.clear();
  for (HWND button : Relayout::buttons) Relayout::sizesAt96.push_back(WindowSize(button));
  // Under the skin's procedure, where the program's own dialog procedure is.
  SkinRemove(form_.form());
  Relayout::formProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      form_.form(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Relayout::Procedure)));
  ASSERT_EQ(SkinInstall(form_.form()), 1);

  for (const int dpi : {192, 144, 96}) {
    SCOPED_TRACE(testing::Message() << dpi << " DPI");
    SendDpiChanged(form_.form(), dpi);
    for (size_t i = 0; i < Relayout::buttons.size(); ++i) {
      HWND button = Relayout::buttons[i];
      const SIZE size = WindowSize(button);
      ASSERT_EQ(size.cx, MulDiv(Relayout::sizesAt96[i].cx, dpi, 96));
      ExpectFacesAtFactor(button, SpriteFactorForDpi(dpi));
      // A 32-bit DIB section whose first row in memory is the top one.
      HDC surface = GetSkinPropHandle<HDC>(button, props::kStateSurface[0]);
      DIBSECTION dib{};
      ASSERT_EQ(GetObjectW(GetCurrentObject(surface, OBJ_BITMAP), sizeof dib, &dib),
                static_cast<int>(sizeof dib));
      EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
      GdiFlush();
      const COLORREF topLeft = GetPixel(surface, 0, 0);
      ASSERT_NE(topLeft, GetPixel(surface, 0, size.cy - 1));
      EXPECT_EQ(*static_cast<const DWORD*>(dib.dsBm.bmBits) & 0xFFFFFF,
                RGB(GetBValue(topLeft), GetGValue(topLeft), GetRValue(topLeft)));
      testing_support::ExpectFacesRenderedAt(button, SpriteFactorForDpi(dpi));
    }
  }
  SkinRemove(form_.form());
  SetWindowLongPtrW(form_.form(), GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(Relayout::formProcedure));
  for (HWND button : Relayout::buttons) SendMessageW(button, WM_SETFONT, 0, FALSE);
}

// A message box shown by a skinned form is skinned while it is open, buttons included, at its own
// DPI whatever the form was told, and detached with its sheet when it closes.
TEST_F(DpiChangeTest, AMessageBoxIsSkinnedAtItsOwnDpiWhileOpen) {
  constexpr int kBoxWindows = 1 + 2;  // the box and its Yes and No buttons
  HWND form = form_.form();
  for (const int dpi : {96, 192}) {
    SCOPED_TRACE(dpi);
    if (dpi != 96) SendDpiChanged(form, dpi);
    ASSERT_EQ(SkinnedWindowCount(), kSkinnedWindowsOfTestForm);
    int answer = 0;
    const testing_support::MessageBoxSeen seen =
        testing_support::WatchMessageBoxAndAnswerNo(form, [&] {
          answer = MessageBoxW(form, L"刷新前请先保存好数据", L"提示",
                               MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2);
        });
    EXPECT_EQ(answer, IDNO);
    EXPECT_TRUE(seen.open);
    EXPECT_TRUE(seen.skinned);
    EXPECT_EQ(seen.skinnedButtons, 2);
    EXPECT_GE(seen.skinnedWindows, kSkinnedWindowsOfTestForm + kBoxWindows);
    EXPECT_EQ(seen.dpi, win::WindowDpi(form));
    EXPECT_EQ(SkinnedWindowCount(), kSkinnedWindowsOfTestForm);
    EXPECT_EQ(SpriteSheetUses(1), dpi == 96 ? kSkinnedWindowsOfTestForm : 0)
        << "the box's sheet went with the box";
  }
  EXPECT_EQ(SkinRemove(form), 1);
  EXPECT_FALSE(SpriteSheetBuilt());
}

// Check marks, option dots and drop arrows of the gallery at 192 DPI: the sprite's glyphs with
// every pixel a 2 x 2 square, over the look of the control around them.
class GalleryDpiTest : public testing_support::SkinnedGalleryTest {};

// Pixels of the glyph drawn at (x, y) of the window that are not the glyph cell's pixels at
// factor k (key pixels are not looked at).
int GlyphFaults(HWND window, int x, int y, const SpriteCell& cell, const COLORREF* table,
                int tableWidth, int k) {
  const std::vector<COLORREF> drawn = WindowPixels(window, x, y, cell.width * k, cell.height * k);
  int faults = 0;
  for (int dy = 0; dy < cell.height * k; ++dy) {
    for (int dx = 0; dx < cell.width * k; ++dx) {
      const COLORREF expected = table[(cell.y + dy / k) * tableWidth + cell.x + dx / k];
      if (expected == kKeyColour) continue;
      if (drawn[static_cast<size_t>(dy * cell.width * k + dx)] != expected) ++faults;
    }
  }
  return faults;
}

TEST_F(GalleryDpiTest, GlyphsAndArrowsAreTheSpritesDoubled) {
  Skin();
  SendDpiChanged(gallery->form, 192);
  const int k = 2;
  const int box = GetSystemMetricForDpi(SM_CXMENUCHECK, 192);
  const auto markTop = [&](HWND window) { return win::CentredOffset(WindowSize(window).cy, box); };
  const std::pair<HWND, SpriteCell> glyphs[] = {
      {gallery->checkChecked, kGlyphCheckEnabled},
      {gallery->checkIndeterminate, kGlyphIndeterminateEnabled},
      {gallery->checkDisabled, kGlyphCheckDisabled},
      {gallery->optionFirst, kGlyphOptionDotEnabled}};
  for (const auto& [window, cell] : glyphs) {
    const int x = win::CentredOffset(box, cell.width * k);
    const int y = win::RoundHalfToEven((box - cell.height * k) / 2.0 + markTop(window));
    EXPECT_EQ(GlyphFaults(window, x, y, cell, &kGlyphSpritePixels[0][0], kGlyphSpriteWidth, k), 0)
        << "glyph of " << window;
  }
  // The check box's frame is two pixels wide, as the option circle's outline is.
  const int top = markTop(gallery->checkUnchecked);
  const std::vector<COLORREF> frame = WindowPixels(gallery->checkUnchecked, 0, top + box / 2, 3, 1);
  EXPECT_EQ(frame, (std::vector<COLORREF>{0xD5A554, 0xD5A554, 0xFFFFFF}));

  // The combo box's arrow, placed by hand. The box keeps its 150 x 21 (nothing resized it); at
  // 200 % the scroll bar is 34 wide, so the drop button is 35 wide from x = 150 - 1 - 35 = 114.
  // The 14 x 8 arrow leaves 21 free across it: 10.5 each side, rounded to even 10, so x = 124.
  // Down the window, less its two edge pixels, 21 - 2 - 8 = 11 free: 5.5, rounded to even 6,
  // below the one-pixel top edge: y = 7.
  HWND combo = gallery->comboDropList;
  const SIZE size = WindowSize(combo);
  ASSERT_EQ(size.cx, 150);
  ASSERT_EQ(size.cy, 21);
  ASSERT_EQ(GetSystemMetricForDpi(SM_CXVSCROLL, 192), 34);
  EXPECT_EQ(GlyphFaults(combo, 124, 7, kComboArrowEnabled, &kComboSpritePixels[0][0],
                        kComboSpriteWidth, k),
            0);

  RECT area{};
  GetWindowRect(gallery->form, &area);
  testing_support::SaveScreenPicture(area, L"dpi_gallery_192.bmp");
  testing_support::SaveWindowPicture(gallery->checkChecked, L"dpi_check_192.bmp", 4);
  testing_support::SaveWindowPicture(gallery->optionFirst, L"dpi_option_192.bmp", 4);
  testing_support::SaveWindowPicture(combo, L"dpi_combo_192.bmp", 4);
}

}  // namespace
}  // namespace skin
