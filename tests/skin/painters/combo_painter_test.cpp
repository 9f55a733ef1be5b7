#include "skin/painters/combo_painter.h"

#include "skin/core/skin_props.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_tables.h"
#include "skin/painters/control_colours.h"
#include "skin/painters/control_geometry.h"
#include "skin/graphics/gdi_handles.h"
#include "tests/skin/painters/painter_test_support.h"
#include "tests/support/pictures.h"

namespace painter_tests {
namespace {

using skin::SkinState;

constexpr COLORREF kArrowEnabled = 0x5F5519;
constexpr COLORREF kArrowDisabled = 0xACA584;

// Where the drop button lies in the window.
struct Button {
  int left;
  int width;
  int height;
  int arrowX;  // in the window
  int arrowY;
};

Button ButtonOf(HWND combo) {
  const SIZE size = WindowSize(combo);
  const int width = skin::ComboButtonWidth(GetSystemMetrics(SM_CXVSCROLL));
  const int left = size.cx - width - 1;
  return {left, width, size.cy - 2, left + skin::ComboArrowX(width),
          1 + skin::ComboArrowY(size.cy)};
}

class ComboPainterTest : public PainterTest {};

TEST_F(ComboPainterTest, LooksByState) {
  HWND combo = gallery->comboDropList;
  const Button button = ButtonOf(combo);
  SkinState state = SkinState::Normal;
  skin::PaintComboButton(combo, nullptr, state, true);
  EXPECT_EQ(WindowPixel(combo, button.left, 1), skin::kWhite);
  EXPECT_EQ(WindowPixel(combo, button.arrowX, button.arrowY), kArrowEnabled);
  EXPECT_EQ(WindowPixel(combo, button.arrowX + 3, button.arrowY + 3), kArrowEnabled);
  EXPECT_EQ(WindowPixel(combo, button.arrowX, button.arrowY + 1), skin::kWhite) << "key pixel";

  state = SkinState::Hot;
  skin::PaintComboButton(combo, nullptr, state, false);
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Hot);
  // The frame column of the face at the left edge, the face's first light column beside it.
  EXPECT_EQ(WindowPixel(combo, button.left, 1), skin::kComboSpritePixels[0][0]);
  EXPECT_EQ(WindowPixel(combo, button.left + 1, 1), skin::kComboSpritePixels[0][1]);
  EXPECT_EQ(WindowPixel(combo, button.arrowX, button.arrowY), kArrowEnabled);

  state = SkinState::Pressed;
  skin::PaintComboButton(combo, nullptr, state, false);
  EXPECT_EQ(WindowPixel(combo, button.left + 1, 1), skin::kComboSpritePixels[0][5]);
  testing_support::SaveWindowPicture(combo, L"painter_combo_pressed.bmp", 3);
}

TEST_F(ComboPainterTest, UsualScrollBarWidthGivesAnEighteenPixelButton) {
  // With SM_CXVSCROLL 17 the button is 18 wide, 1 pixel in from the right edge, and its arrow
  // starts 6 pixels in.
  if (GetSystemMetrics(SM_CXVSCROLL) != 17) {
    GTEST_SKIP() << "SM_CXVSCROLL is " << GetSystemMetrics(SM_CXVSCROLL);
  }
  HWND combo = gallery->comboDropList;
  const SIZE size = WindowSize(combo);
  FillWindow(combo, 0, 0, size.cx, size.cy);
  SkinState state = SkinState::Hot;
  skin::PaintComboButton(combo, nullptr, state, true);
  const int left = size.cx - 18 - 1;
  const int arrowRow = 1 + skin::ComboArrowY(size.cy);
  EXPECT_EQ(WindowPixel(combo, size.cx - 1, 5), kSentinel) << "one-pixel margin at the right";
  EXPECT_EQ(WindowPixel(combo, left - 1, 5), kSentinel) << "nothing left of the button";
  EXPECT_EQ(WindowPixel(combo, left, 0), kSentinel) << "one-pixel margin at the top";
  EXPECT_EQ(WindowPixel(combo, left, 1), skin::kComboSpritePixels[0][0]);
  EXPECT_EQ(WindowPixel(combo, size.cx - 2, 1), skin::kComboSpritePixels[0][3]);
  EXPECT_EQ(WindowPixel(combo, left + 6, arrowRow), kArrowEnabled);
  EXPECT_EQ(WindowPixel(combo, left + 12, arrowRow), kArrowEnabled);
  EXPECT_NE(WindowPixel(combo, left + 5, arrowRow), kArrowEnabled);
  EXPECT_NE(WindowPixel(combo, left + 13, arrowRow), kArrowEnabled);
}

TEST_F(ComboPainterTest, SameStateUnforcedDrawsNothing) {
  HWND combo = gallery->driveList;
  const Button button = ButtonOf(combo);
  SkinState state = SkinState::Hot;
  skin::PaintComboButton(combo, nullptr, state, true);
  FillWindow(combo, button.left, 1, button.width, button.height);
  skin::PaintComboButton(combo, nullptr, state, false);
  EXPECT_EQ(WindowPixel(combo, button.left + 2, 2), kSentinel);
}

TEST_F(ComboPainterTest, DroppedListForcesThePressedLook) {
  HWND combo = gallery->comboDropList;
  const Button button = ButtonOf(combo);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_NE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
  SkinState state = SkinState::Hot;
  skin::PaintComboButton(combo, nullptr, state, true);
  EXPECT_EQ(state, SkinState::Pressed);
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Pressed);
  EXPECT_EQ(WindowPixel(combo, button.left + 1, 1), skin::kComboSpritePixels[0][5]);

  // Asking for the normal look while dropped changes nothing: the state becomes pressed again,
  // which is already shown.
  state = SkinState::Normal;
  FillWindow(combo, button.left, 1, button.width, button.height);
  skin::PaintComboButton(combo, nullptr, state, false);
  EXPECT_EQ(state, SkinState::Pressed);
  EXPECT_EQ(WindowPixel(combo, button.left + 1, 1), kSentinel);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(ComboPainterTest, SimpleComboBoxGetsNoButton) {
  HWND combo = gallery->comboSimple;
  const SIZE size = WindowSize(combo);
  FillWindow(combo, 0, 0, size.cx, size.cy);
  skin::SetSkinState(combo, SkinState::Normal);
  SkinState state = SkinState::Hot;
  skin::PaintComboButton(combo, nullptr, state, true);
  EXPECT_EQ(WindowPixel(combo, size.cx - 10, 5), kSentinel);
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Normal) << "state not stored";
}

TEST_F(ComboPainterTest, DisabledComboBoxShowsTheGreyArrow) {
  HWND combo = gallery->comboDisabled;
  const Button button = ButtonOf(combo);
  for (SkinState asked : {SkinState::Normal, SkinState::Hot}) {
    SkinState state = asked;
    skin::PaintComboButton(combo, nullptr, state, true);
    EXPECT_EQ(WindowPixel(combo, button.arrowX, button.arrowY), kArrowDisabled);
    EXPECT_EQ(WindowPixel(combo, button.arrowX + 6, button.arrowY), kArrowDisabled);
  }
  testing_support::SaveWindowPicture(combo, L"painter_combo_disabled_hot.bmp", 3);
}

TEST_F(ComboPainterTest, FaceFramesTheWindow) {
  HWND editable = gallery->comboEditable;
  const SIZE size = WindowSize(editable);
  {
    gdi::WindowDc dc(editable);
    skin::PaintComboFace(editable, dc.get(), skin::ComboFrameStyle::FilledBody);
  }
  EXPECT_EQ(WindowPixel(editable, 0, 0), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(editable, size.cx - 1, size.cy - 1), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(editable, 5, 5), skin::kWhite);

  HWND disabled = gallery->comboDisabled;
  FillWindow(disabled, 0, 0, 10, 10);
  {
    gdi::WindowDc dc(disabled);
    skin::PaintComboFace(disabled, dc.get(), skin::ComboFrameStyle::WhiteRing);
  }
  EXPECT_EQ(WindowPixel(disabled, 0, 0), skin::kDisabledFrameColour);
  EXPECT_EQ(WindowPixel(disabled, 1, 1), skin::kWhite);
  EXPECT_EQ(WindowPixel(disabled, 2, 2), kSentinel) << "the body is left as it was";
}

}  // namespace
}  // namespace painter_tests
