#include <windows.h>

#include <commctrl.h>

#include "skin/core/skin_props.h"
#include "skin/graphics/sprite_tables.h"
#include "tests/support/skinned_gallery.h"

namespace handler_tests {
namespace {

using namespace testing_support;

// The colour of an item's face one pixel in from its top-left corner tells its look.
const COLORREF kNormalFace = skin::kHeaderSpritePixels[1][1];
const COLORREF kHotFace = skin::kHeaderSpritePixels[1][4];
const COLORREF kPressedFace = skin::kHeaderSpritePixels[1][7];

class HeaderHandlersTest : public SkinnedGalleryTest {
 protected:
  HWND header() const { return gallery->header; }

  RECT Item(int index) const {
    RECT rect{};
    SendMessageW(header(), HDM_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
  COLORREF Face(int index) const { return WindowPixel(header(), Item(index).left + 1, 1); }
  LONG_PTR Hot() const { return skin::GetSkinProp(header(), skin::props::kHeaderHotIndex); }
  LONG_PTR Pressed() const { return skin::GetSkinProp(header(), skin::props::kHeaderDownIndex); }

  void Move(int x, WPARAM buttons = 0) {
    testing_support::MoveCursorTo(header(), x, 5);
    SendMessageW(header(), WM_MOUSEMOVE, buttons, PointParam(x, 5));
  }
};

TEST_F(HeaderHandlersTest, IndicesStartAtNoneAndTheStripIsSkinned) {
  Skin();
  EXPECT_EQ(Hot(), -1);
  EXPECT_EQ(Pressed(), -1);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Face(i), kNormalFace) << i;
  const SIZE size = WindowSize(header());
  EXPECT_EQ(WindowPixel(header(), size.cx - 1, 0), skin::kHeaderSpritePixels[0][1]);
}

TEST_F(HeaderHandlersTest, SharedBorderBelongsToTheLowerItem) {
  Skin();
  ASSERT_EQ(Item(0).right, 100);
  ASSERT_EQ(Item(1).left, 100);
  Move(100);
  EXPECT_EQ(Hot(), 0);
  EXPECT_EQ(Face(0), kHotFace);
  EXPECT_EQ(Face(1), kNormalFace);
  EXPECT_EQ(skin::GetSkinProp(header(), skin::props::kMouseFlag), 1);

  // Right of the last item nothing is hot, and the old hot item is drawn normal.
  Move(Item(3).right + 1);
  EXPECT_EQ(Hot(), -1);
  EXPECT_EQ(Face(0), kNormalFace);

  Move(150);
  EXPECT_EQ(Hot(), 1);
  SendMessageW(header(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Hot(), -1);
  EXPECT_EQ(Pressed(), -1);
  EXPECT_EQ(Face(1), kNormalFace);
  EXPECT_EQ(skin::GetSkinProp(header(), skin::props::kMouseFlag), 0);
}

TEST_F(HeaderHandlersTest, DragOffThePressedItemAndBackKeepsItPressed) {
  Skin();
  const int onItem2 = Item(2).left + 20;
  const int onItem3 = Item(3).left + 20;
  Move(onItem2);
  EXPECT_EQ(Face(2), kHotFace);
  SendMessageW(header(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(onItem2, 5));
  EXPECT_EQ(Pressed(), 2);
  EXPECT_EQ(Face(2), kPressedFace);

  Move(onItem3, MK_LBUTTON);
  EXPECT_EQ(Hot(), 2);
  EXPECT_EQ(Face(2), kPressedFace);
  EXPECT_EQ(Face(3), kNormalFace);
  // A full repaint in the middle of the drag draws from the same indices.
  InvalidateRect(header(), nullptr, FALSE);
  EXPECT_EQ(SendMessageW(header(), WM_PAINT, 0, 0), 0);
  EXPECT_EQ(Face(2), kPressedFace);
  EXPECT_EQ(Face(3), kNormalFace);

  Move(onItem2, MK_LBUTTON);
  EXPECT_EQ(Face(2), kPressedFace);
  EXPECT_EQ(Face(3), kNormalFace);

  // Released over the header: nothing pressed, the item hot.
  SendMessageW(header(), WM_LBUTTONUP, 0, PointParam(onItem2, 5));
  EXPECT_EQ(Pressed(), -1);
  EXPECT_EQ(Face(2), kHotFace);
}

TEST_F(HeaderHandlersTest, ReleaseAwayFromTheHeaderDrawsTheItemNormal) {
  Skin();
  const int onItem1 = Item(1).left + 10;
  Move(onItem1);
  SendMessageW(header(), WM_LBUTTONDBLCLK, MK_LBUTTON, PointParam(onItem1, 5));
  EXPECT_EQ(Pressed(), 1);
  EXPECT_EQ(Face(1), kPressedFace);
  MoveCursorAway();
  SendMessageW(header(), WM_LBUTTONUP, 0, PointParam(onItem1, 5));
  EXPECT_EQ(Pressed(), -1);
  EXPECT_EQ(Face(1), kNormalFace);

  // A press beside every item stores none and draws nothing.
  SendMessageW(header(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(Item(3).right + 5, 5));
  EXPECT_EQ(Pressed(), -1);
  SendMessageW(header(), WM_LBUTTONUP, 0, PointParam(Item(3).right + 5, 5));
}

}  // namespace
}  // namespace handler_tests
