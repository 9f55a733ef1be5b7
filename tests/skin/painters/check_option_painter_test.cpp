#include "skin/painters/check_option_painter.h"

#include "skin/core/skin_props.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_tables.h"
#include "skin/painters/control_colours.h"
#include "skin/painters/control_geometry.h"
#include "tests/skin/painters/painter_test_support.h"
#include "tests/support/pictures.h"
#include "win/rounding.h"

namespace painter_tests {
namespace {

using skin::SkinState;

struct Mark {
  int size;
  int top;
};

Mark MarkOf(HWND window) {
  const int size = GetSystemMetrics(SM_CXMENUCHECK);
  return {size, win::CentredOffset(WindowSize(window).cy, GetSystemMetrics(SM_CYMENUCHECK))};
}

// Expects the glyph cell to appear at (x, y) of the window: its own colours where the sprite has
// them, `under` where the sprite has the key colour.
void ExpectGlyphAt(HWND window, int x, int y, const skin::SpriteCell& glyph, COLORREF under) {
  const std::vector<COLORREF> pixels = WindowPixels(window, x, y, glyph.width, glyph.height);
  ASSERT_EQ(pixels.size(), static_cast<size_t>(glyph.width * glyph.height));
  for (int row = 0; row < glyph.height; ++row) {
    for (int column = 0; column < glyph.width; ++column) {
      COLORREF expected = skin::kGlyphSpritePixels[glyph.y + row][glyph.x + column];
      if (expected == skin::kKeyColour) expected = under;
      EXPECT_EQ(pixels[row * glyph.width + column], expected)
          << "glyph pixel " << column << ", " << row;
    }
  }
}

class CheckOptionPainterTest : public PainterTest {};

TEST_F(CheckOptionPainterTest, MenuCheckSizeIsTheUsualOne) {
  // The pixel positions below assume the usual 13 x 13 mark.
  EXPECT_EQ(GetSystemMetrics(SM_CXMENUCHECK), 13);
  EXPECT_EQ(GetSystemMetrics(SM_CYMENUCHECK), 13);
}

TEST_F(CheckOptionPainterTest, RepeatedUnforcedCallDrawsNothing) {
  HWND box = gallery->checkUnchecked;
  const Mark mark = MarkOf(box);
  EXPECT_EQ(skin::PaintCheckBox(box, SkinState::Hot, true), 1);
  EXPECT_EQ(skin::GetSkinState(box), SkinState::Hot);
  FillWindow(box, 0, mark.top, mark.size, mark.size);
  EXPECT_EQ(skin::PaintCheckBox(box, SkinState::Hot, false), 0);
  EXPECT_EQ(WindowPixel(box, 0, mark.top), kSentinel);
  EXPECT_EQ(WindowPixel(box, 6, mark.top + 6), kSentinel);

  // A different state draws without force, and so does the same state with force.
  EXPECT_EQ(skin::PaintCheckBox(box, SkinState::Normal, false), 1);
  EXPECT_EQ(WindowPixel(box, 0, mark.top), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(box, 6, mark.top + 6), skin::kWhite);
  FillWindow(box, 0, mark.top, mark.size, mark.size);
  EXPECT_EQ(skin::PaintCheckBox(box, SkinState::Normal, true), 1);
  EXPECT_EQ(WindowPixel(box, 6, mark.top + 6), skin::kWhite);

  HWND option = gallery->optionSecond;
  const Mark optionMark = MarkOf(option);
  EXPECT_EQ(skin::PaintOptionBox(option, SkinState::Pressed, true), 1);
  FillWindow(option, 0, optionMark.top, optionMark.size, optionMark.size);
  EXPECT_EQ(skin::PaintOptionBox(option, SkinState::Pressed, false), 0);
  EXPECT_EQ(WindowPixel(option, 6, optionMark.top + 6), kSentinel);
}

TEST_F(CheckOptionPainterTest, MarkIsCentredInTheWindowHeight) {
  HWND box = gallery->checkUnchecked;  // 20 pixels high: (20 - 13) / 2 = 3.5 goes to 4
  ASSERT_EQ(WindowSize(box).cy, 20);
  FillWindow(box, 0, 0, 13, 20);
  skin::PaintCheckBox(box, SkinState::Normal, true);
  EXPECT_EQ(WindowPixel(box, 0, 3), kSentinel);
  EXPECT_EQ(WindowPixel(box, 0, 4), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(box, 12, 16), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(box, 0, 17), kSentinel);
  EXPECT_EQ(WindowPixel(box, 13, 10), WindowPixel(box, 14, 10)) << "nothing right of the mark";
}

TEST_F(CheckOptionPainterTest, CheckMarkAndIndeterminateSquareLandInTheMiddle) {
  HWND checked = gallery->checkChecked;
  const Mark mark = MarkOf(checked);
  skin::PaintCheckBox(checked, SkinState::Normal, true);
  // (13 - 9) / 2 = 2 and (13 - 8) / 2 = 2.5, which goes to 2.
  ExpectGlyphAt(checked, 2, mark.top + 2, skin::kGlyphCheckEnabled, skin::kWhite);
  EXPECT_EQ(WindowPixel(checked, 1, mark.top + 1), skin::kWhite);

  HWND indeterminate = gallery->checkIndeterminate;
  const Mark square = MarkOf(indeterminate);
  skin::PaintCheckBox(indeterminate, SkinState::Normal, true);
  ExpectGlyphAt(indeterminate, 3, square.top + 3, skin::kGlyphIndeterminateEnabled, skin::kWhite);
  EXPECT_EQ(WindowPixel(indeterminate, 2, square.top + 2), skin::kWhite);
  EXPECT_EQ(WindowPixel(indeterminate, 10, square.top + 10), skin::kWhite);

  HWND unchecked = gallery->checkUnchecked;
  const Mark empty = MarkOf(unchecked);
  skin::PaintCheckBox(unchecked, SkinState::Normal, true);
  const std::vector<COLORREF> inside = WindowPixels(unchecked, 1, empty.top + 1, 11, 11);
  for (COLORREF pixel : inside) EXPECT_EQ(pixel, skin::kWhite);

  testing_support::SaveWindowPicture(checked, L"painter_check_checked.bmp", 4);
  testing_support::SaveWindowPicture(indeterminate, L"painter_check_indeterminate.bmp", 4);
}

TEST_F(CheckOptionPainterTest, DisabledBoxIsPaleAndWhiteInEveryState) {
  HWND box = gallery->checkDisabled;  // disabled and checked
  const Mark mark = MarkOf(box);
  for (SkinState state : {SkinState::Normal, SkinState::Hot, SkinState::Pressed}) {
    SCOPED_TRACE(skin::ToInt(state));
    skin::PaintCheckBox(box, state, true);
    EXPECT_EQ(WindowPixel(box, 0, mark.top), skin::kDisabledFrameColour);
    EXPECT_EQ(WindowPixel(box, 12, mark.top + 12), skin::kDisabledFrameColour);
    EXPECT_EQ(WindowPixel(box, 1, mark.top + 1), skin::kWhite);
    EXPECT_EQ(WindowPixel(box, 11, mark.top + 11), skin::kWhite);
    ExpectGlyphAt(box, 2, mark.top + 2, skin::kGlyphCheckDisabled, skin::kWhite);
  }
  SendMessageW(box, BM_SETCHECK, BST_INDETERMINATE, 0);
  skin::PaintCheckBox(box, SkinState::Hot, true);
  ExpectGlyphAt(box, 3, mark.top + 3, skin::kGlyphIndeterminateDisabled, skin::kWhite);
}

TEST_F(CheckOptionPainterTest, OptionDotOnlyForASelectedButton) {
  HWND selected = gallery->optionFirst;
  HWND unselected = gallery->optionSecond;
  const Mark mark = MarkOf(selected);
  // Magenta corners of the circle let the window show through.
  FillWindow(selected, 0, mark.top, mark.size, mark.size);
  skin::PaintOptionBox(selected, SkinState::Normal, true);
  EXPECT_EQ(WindowPixel(selected, 0, mark.top), kSentinel);
  const COLORREF circleCentre = skin::kOptionSpritePixels[6][6];
  ExpectGlyphAt(selected, 4, mark.top + 4, skin::kGlyphOptionDotEnabled, circleCentre);

  skin::PaintOptionBox(unselected, SkinState::Normal, true);
  EXPECT_EQ(WindowPixel(unselected, 6, mark.top + 6), circleCentre);

  // Hot and pressed circles come from their own cells; a disabled button always shows the
  // disabled circle.
  skin::PaintOptionBox(unselected, SkinState::Hot, true);
  EXPECT_EQ(WindowPixel(unselected, 6, mark.top + 6), skin::kOptionSpritePixels[13 + 6][6]);
  HWND disabled = gallery->optionDisabled;
  skin::PaintOptionBox(disabled, SkinState::Hot, true);
  EXPECT_EQ(WindowPixel(disabled, 6, mark.top + 6), skin::kOptionSpritePixels[39 + 6][6]);
  testing_support::SaveWindowPicture(selected, L"painter_option_selected.bmp", 4);
}

}  // namespace
}  // namespace painter_tests
