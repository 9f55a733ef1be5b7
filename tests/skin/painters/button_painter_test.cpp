#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/graphics/blit.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/graphics/surface.h"
#include "skin/painters/button_painter.h"
#include "tests/support/pictures.h"
#include "tests/support/skin_test_form.h"
#include "tests/support/skin_test_pixels.h"
#include "tests/support/window_pixels.h"

namespace skin {
namespace {

using testing_support::CountDifferencesInRegion;
using testing_support::ReadSurfacePixels;
using testing_support::ReadWindowPixels;
using testing_support::StatePixels;
using testing_support::WindowSize;

void PaintNow(HWND button) {
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

class ButtonPainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFocus(form_.form());  // no button holds the focus: no focus rectangle in the faces
    ASSERT_EQ(SkinInstall(form_.form()), 1);
    button_ = form_.wideButton();
  }
  void TearDown() override {
    SkinRemove(form_.form());
    EXPECT_EQ(SkinnedWindowCount(), 0);
  }
  testing_support::SkinTestForm form_;
  HWND button_ = nullptr;
};

// Each state surface is the nine-grid of its ButtonSprite cell with the caption drawn over it in
// the state's colour; only the caption's pixels differ from the bare face.
TEST_F(ButtonPainterTest, StateSurfacesAreTheSpriteFaceWithTheCaption) {
  const SIZE size = WindowSize(button_);
  ASSERT_EQ(size.cx, 257);
  ASSERT_EQ(size.cy, 25);
  for (int state = 0; state < kSkinStateCount; ++state) {
    SCOPED_TRACE(testing::Message() << "state " << state);
    Surface face(size.cx, size.cy);
    BlitNineGrid(face.get(), 0, 0, size.cx, size.cy, ButtonSprite(), ButtonCell(state),
                 kButtonMargins);
    const std::vector<COLORREF> bare = ReadSurfacePixels(face.get(), size.cx, size.cy);
    const std::vector<COLORREF> drawn = StatePixels(button_, state);
    ASSERT_EQ(drawn.size(), bare.size());

    const COLORREF caption = state == 3 ? 0x968A79 : 0x000000;
    const COLORREF otherCaption = state == 3 ? 0x000000 : 0x968A79;
    int differing = 0, inCaptionColour = 0, inOtherColour = 0, outsideText = 0;
    for (int y = 0; y < size.cy; ++y) {
      for (int x = 0; x < size.cx; ++x) {
        const size_t i = static_cast<size_t>(y * size.cx + x);
        if (drawn[i] == bare[i]) continue;
        ++differing;
        if (drawn[i] == caption) ++inCaptionColour;
        if (drawn[i] == otherCaption) ++inOtherColour;
        // Six short Chinese characters, centred: nothing near the edges changes.
        if (x < 60 || x > 197 || y < 2 || y > 22) ++outsideText;
      }
    }
    EXPECT_GT(differing, 30);
    EXPECT_GT(inCaptionColour, 10);
    EXPECT_EQ(inOtherColour, 0);
    EXPECT_EQ(outsideText, 0);
    testing_support::SavePixels(drawn, size.cx, size.cy,
                                L"button_state_" + std::to_wstring(state) + L".bmp", 3);
  }
}

TEST_F(ButtonPainterTest, FocusedButtonShowsTheFocusRectangleInAllFourFaces) {
  SetFocus(button_);  // re-renders the faces
  const SIZE size = WindowSize(button_);
  for (int state = 0; state < kSkinStateCount; ++state) {
    Surface face(size.cx, size.cy);
    BlitNineGrid(face.get(), 0, 0, size.cx, size.cy, ButtonSprite(), ButtonCell(state),
                 kButtonMargins);
    const std::vector<COLORREF> bare = ReadSurfacePixels(face.get(), size.cx, size.cy);
    const std::vector<COLORREF> drawn = StatePixels(button_, state);
    int changedOnFrameLine = 0;
    for (int x = 2; x < size.cx - 2; ++x) {
      const size_t i = static_cast<size_t>(2 * size.cx + x);  // row 2: the top of the rectangle
      if (drawn[i] != bare[i]) ++changedOnFrameLine;
    }
    EXPECT_GT(changedOnFrameLine, (size.cx - 4) / 3) << "state " << state;
  }
  SetFocus(form_.form());
}

TEST_F(ButtonPainterTest, PaintAtFullLevelShowsTheStateSurfaceExactly) {
  for (int state = 0; state < kSkinStateCount; ++state) {
    SetSkinState(button_, static_cast<SkinState>(state));
    PaintNow(button_);  // WM_PAINT: level 255
    EXPECT_EQ(GetSkinProp(button_, props::kAlphaLevel), 255);
    EXPECT_EQ(CountDifferencesInRegion(button_, StatePixels(button_, state)), 0)
        << "state " << state;
  }
  testing_support::SaveWindowPicture(button_, L"button_painted_disabled_face.bmp", 3);
}

TEST_F(ButtonPainterTest, LevelZeroChangesNothingAndMidLevelsBlend) {
  SetSkinState(button_, SkinState::Normal);
  PaintNow(button_);
  const std::vector<COLORREF> normal = ReadWindowPixels(button_);

  SetSkinState(button_, SkinState::Pressed);
  SetSkinProp(button_, props::kAlphaLevel, 0);
  EXPECT_EQ(PaintButton(button_, nullptr), 0);
  EXPECT_EQ(CountDifferencesInRegion(button_, normal), 0);

  // Half way: every channel lies between the normal and the pressed face.
  SetSkinProp(button_, props::kAlphaLevel, 128);
  PaintButton(button_, nullptr);
  const std::vector<COLORREF> half = ReadWindowPixels(button_);
  const std::vector<COLORREF> pressed = StatePixels(button_, 2);
  const SIZE size = WindowSize(button_);
  const size_t centre = static_cast<size_t>((size.cy / 2) * size.cx + 3);
  for (int shift : {0, 8, 16}) {
    const int a = (normal[centre] >> shift) & 0xFF;
    const int b = (pressed[centre] >> shift) & 0xFF;
    const int mixed = (half[centre] >> shift) & 0xFF;
    const int expected = a + (b - a) * 128 / 255;
    EXPECT_NEAR(mixed, expected, 1) << "shift " << shift;
  }
}

TEST_F(ButtonPainterTest, DisabledButtonAlwaysPaintsItsDisabledFace) {
  EnableWindow(button_, FALSE);
  EXPECT_EQ(GetSkinProp(button_, props::kOldState), 3);
  SetSkinState(button_, SkinState::Hot);  // whatever the state held
  PaintNow(button_);
  EXPECT_EQ(GetSkinProp(button_, props::kOldState), 3);
  EXPECT_EQ(CountDifferencesInRegion(button_, StatePixels(button_, 3)), 0);
  EnableWindow(button_, TRUE);
  EXPECT_EQ(GetSkinProp(button_, props::kOldState), 0);
}

TEST_F(ButtonPainterTest, ButtonsKeepingTheirOwnDrawingAreNeverPaintedBySkin) {
  SkinRemove(form_.form());
  HWND check =
      CreateWindowExW(0, L"BUTTON", L"选项", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 8, 124, 120,
                      20, form_.form(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_EQ(SkinInstall(form_.form()), 1);
  PaintNow(check);
  const std::vector<COLORREF> own = ReadWindowPixels(check);
  EXPECT_NE(CountDifferencesInRegion(check, StatePixels(check, 0)), 0);
  SetSkinProp(check, props::kAlphaLevel, 255);
  PaintButton(check, nullptr);
  EXPECT_EQ(CountDifferencesInRegion(check, own), 0);
}

TEST(ButtonBlend, ConstantAlphaOnly) {
  const BLENDFUNCTION blend = ButtonBlend(140);
  EXPECT_EQ(blend.BlendOp, AC_SRC_OVER);
  EXPECT_EQ(blend.BlendFlags, 0);
  EXPECT_EQ(blend.SourceConstantAlpha, 140);
  EXPECT_EQ(blend.AlphaFormat, 0);
  EXPECT_EQ(ButtonBlend(300).SourceConstantAlpha, 255);
  EXPECT_EQ(ButtonBlend(-1).SourceConstantAlpha, 0);
  EXPECT_TRUE(IsSkinDrawnButtonStyle(BS_PUSHBUTTON));
  EXPECT_TRUE(IsSkinDrawnButtonStyle(BS_DEFPUSHBUTTON));
  EXPECT_TRUE(IsSkinDrawnButtonStyle(BS_USERBUTTON));
  EXPECT_FALSE(IsSkinDrawnButtonStyle(BS_AUTOCHECKBOX));
  EXPECT_FALSE(IsSkinDrawnButtonStyle(BS_GROUPBOX));
  EXPECT_FALSE(IsSkinDrawnButtonStyle(BS_OWNERDRAW));
  EXPECT_FALSE(IsSkinDrawnButtonStyle(BS_RADIOBUTTON));
  EXPECT_FALSE(IsSkinDrawnButtonStyle(BS_AUTORADIOBUTTON));
  EXPECT_TRUE(IsSkinDrawnButtonStyle(WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON));
}

}  // namespace
}  // namespace skin
