#include "skin/core/skin_props.h"
#include "skin/graphics/sprite_tables.h"
#include "skin/painters/control_colours.h"
#include "skin/painters/control_geometry.h"
#include "tests/support/skinned_gallery.h"
#include "win/rounding.h"

namespace handler_tests {
namespace {

using namespace testing_support;

using skin::SkinState;

int MarkTop(HWND window) {
  return win::CentredOffset(WindowSize(window).cy, GetSystemMetrics(SM_CYMENUCHECK));
}

int MarkSize() { return GetSystemMetrics(SM_CXMENUCHECK); }

// The centre pixel of an option mark: the dot's colour when selected, the circle's otherwise.
COLORREF OptionCentre(HWND option) { return WindowPixel(option, 6, MarkTop(option) + 6); }
const COLORREF kDotCentre = skin::kGlyphSpritePixels[18 + 2][2 + 2];
const COLORREF kCircleCentre = skin::kOptionSpritePixels[6][6];

class CheckOptionHandlersTest : public SkinnedGalleryTest {};

TEST_F(CheckOptionHandlersTest, MarksAreSkinnedAfterInstall) {
  Skin();
  HWND box = gallery->checkChecked;
  EXPECT_EQ(WindowPixel(box, 0, MarkTop(box)), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(box, 10, MarkTop(box) + 2), skin::kGlyphSpritePixels[0][8]);
  EXPECT_EQ(OptionCentre(gallery->optionFirst), kDotCentre);
  EXPECT_EQ(OptionCentre(gallery->optionSecond), kCircleCentre);
  EXPECT_EQ(WindowPixel(gallery->checkDisabled, 0, MarkTop(gallery->checkDisabled)),
            skin::kDisabledFrameColour);
}

// The frame and the inside of each state, hot and pressed from the option sprite's bands.
TEST_F(CheckOptionHandlersTest, HoverPressAndLeave) {
  Skin();
  HWND box = gallery->checkUnchecked;
  const int top = MarkTop(box);
  testing_support::MoveCursorTo(box);
  SendMessageW(box, WM_MOUSEMOVE, 0, PointParam(5, 5));
  EXPECT_EQ(skin::GetSkinProp(box, skin::props::kMouseFlag), 1);
  EXPECT_EQ(skin::GetSkinState(box), SkinState::Hot);
  EXPECT_EQ(WindowPixel(box, 1, top + 1), skin::kOptionSpritePixels[17][1]);

  // Every move repaints, even in the same state.
  FillWindow(box, 0, top, MarkSize(), MarkSize());
  SendMessageW(box, WM_MOUSEMOVE, 0, PointParam(6, 5));
  EXPECT_EQ(WindowPixel(box, 0, top), skin::kFrameColour);

  SendMessageW(box, WM_MOUSEMOVE, MK_LBUTTON, PointParam(6, 5));
  EXPECT_EQ(skin::GetSkinState(box), SkinState::Pressed);
  EXPECT_EQ(WindowPixel(box, 0, top), skin::kPressedFrameColour);
  EXPECT_EQ(WindowPixel(box, 1, top + 1), skin::kOptionSpritePixels[30][1]);

  SendMessageW(box, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(skin::GetSkinProp(box, skin::props::kMouseFlag), 0);
  EXPECT_EQ(skin::GetSkinState(box), SkinState::Normal);
  EXPECT_EQ(WindowPixel(box, 0, top), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(box, 1, top + 1), skin::kWhite);
}

TEST_F(CheckOptionHandlersTest, SpaceBarShowsTheOptionPressedUntilReleased) {
  Skin();
  HWND option = gallery->optionSecond;
  SetFocus(option);
  SendMessageW(option, WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(skin::GetSkinState(option), SkinState::Normal);
  SendMessageW(option, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(skin::GetSkinState(option), SkinState::Pressed);
  EXPECT_EQ(WindowPixel(option, 6, MarkTop(option) + 1), skin::kOptionSpritePixels[26 + 1][6]);
  SendMessageW(option, WM_KEYUP, 'A', 0);
  EXPECT_EQ(skin::GetSkinState(option), SkinState::Pressed);
  SendMessageW(option, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(skin::GetSkinState(option), SkinState::Normal);
}

TEST_F(CheckOptionHandlersTest, ClickRepaintsEveryBoxOfTheParentWithItsNewMark) {
  Skin();
  HWND clicked = gallery->optionSecond;
  // Cover the marks of boxes the click does not touch, inside a frame too: only the refresh
  // after the release can bring them back.
  for (HWND box : {gallery->checkChecked, gallery->frameCheck, gallery->frameOption}) {
    FillWindow(box, 0, 0, MarkSize(), WindowSize(box).cy);
  }
  testing_support::MoveCursorTo(clicked, 5, 5);
  SendMessageW(clicked, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(5, 5));
  EXPECT_EQ(skin::GetSkinState(clicked), SkinState::Pressed);
  SendMessageW(clicked, WM_LBUTTONUP, 0, PointParam(5, 5));

  ASSERT_EQ(SendMessageW(clicked, BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_EQ(SendMessageW(gallery->optionFirst, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(OptionCentre(clicked), kDotCentre);
  EXPECT_EQ(OptionCentre(gallery->optionFirst), kCircleCentre);
  EXPECT_EQ(WindowPixel(gallery->checkChecked, 0, MarkTop(gallery->checkChecked)),
            skin::kFrameColour);
  EXPECT_EQ(WindowPixel(gallery->frameCheck, 0, MarkTop(gallery->frameCheck)), skin::kFrameColour);
  EXPECT_EQ(OptionCentre(gallery->frameOption), kCircleCentre);
  EXPECT_EQ(skin::GetSkinState(clicked), SkinState::Normal);
}

TEST_F(CheckOptionHandlersTest, FocusChangeRepaintsTheOptionMark) {
  Skin();
  HWND option = gallery->optionFirst;
  FillWindow(option, 0, MarkTop(option), MarkSize(), MarkSize());
  SendMessageW(option, WM_SETFOCUS, 0, 0);
  EXPECT_EQ(OptionCentre(option), kDotCentre);
  FillWindow(option, 0, MarkTop(option), MarkSize(), MarkSize());
  SendMessageW(option, WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(OptionCentre(option), kDotCentre);
}

}  // namespace
}  // namespace handler_tests
