#include "skin/core/skin_props.h"
#include "skin/graphics/sprite_tables.h"
#include "skin/painters/control_colours.h"
#include "skin/painters/control_geometry.h"
#include "tests/skin/skin_test_windows.h"
#include "tests/support/message_recorder.h"
#include "tests/support/skinned_gallery.h"
#include "tests/support/pictures.h"

namespace handler_tests {
namespace {

using namespace testing_support;

using skin::SkinState;

constexpr COLORREF kArrowDisabled = 0xACA584;

int ButtonLeft(HWND combo) {
  return WindowSize(combo).cx - skin::ComboButtonWidth(GetSystemMetrics(SM_CXVSCROLL)) - 1;
}

class ComboHandlersTest : public SkinnedGalleryTest {
 protected:
  void TearDown() override {
    for (HWND combo : {gallery->comboEditable, gallery->comboDropList, gallery->driveList}) {
      SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    }
    SkinnedGalleryTest::TearDown();
  }
};

TEST_F(ComboHandlersTest, ArrowZoneOfAnEditableComboBox) {
  Skin();
  HWND combo = gallery->comboEditable;
  const SIZE size = WindowSize(combo);
  const int c = GetSystemMetrics(SM_CXVSCROLL);
  const int middle = size.cy / 2;
  ASSERT_EQ(skin::GetSkinState(combo), SkinState::Normal);

  // Outside the zone: one pixel left of it, or one row above it. A press there paints nothing.
  FillWindow(combo, ButtonLeft(combo), 1, 4, 4);
  SendMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(size.cx - c - 3, middle));
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Normal);
  EXPECT_EQ(WindowPixel(combo, ButtonLeft(combo) + 1, 2), kSentinel);
  SendMessageW(combo, WM_LBUTTONUP, 0, PointParam(size.cx - c - 3, middle));
  SendMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(size.cx - c - 2, 1));
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Normal);
  SendMessageW(combo, WM_LBUTTONUP, 0, PointParam(size.cx - c - 2, 1));
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);

  // A move outside the zone shows the normal look, inside it the hot or pressed one.
  testing_support::MoveCursorTo(combo, size.cx - 5, middle);
  SendMessageW(combo, WM_MOUSEMOVE, 0, PointParam(size.cx - c - 3, middle));
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Normal);
  SendMessageW(combo, WM_MOUSEMOVE, 0, PointParam(size.cx - c - 2, 2));
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Hot);
  EXPECT_EQ(skin::GetSkinProp(combo, skin::props::kMouseFlag), 1);
  SendMessageW(combo, WM_MOUSEMOVE, MK_LBUTTON, PointParam(size.cx - 2, size.cy - 2));
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Pressed);
  SendMessageW(combo, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Normal);
  EXPECT_EQ(skin::GetSkinProp(combo, skin::props::kMouseFlag), 0);

  // On the zone's edge the press counts.
  SendMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(size.cx - c - 2, middle));
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Pressed);
}

TEST_F(ComboHandlersTest, EditableComboBoxIsPaintedByTheSkinAlone) {
  HWND editable = gallery->comboEditable;
  HWND simple = gallery->comboSimple;
  HWND dropList = gallery->comboDropList;
  MessageRecorder recorder;
  for (HWND combo : {editable, simple, dropList}) recorder.Watch(combo);
  Skin();
  recorder.Clear();
  for (HWND combo : {editable, simple}) {
    InvalidateRect(combo, nullptr, FALSE);
    EXPECT_EQ(SendMessageW(combo, WM_PAINT, 0, 0), 0);
    EXPECT_FALSE(recorder.Saw(combo, WM_PAINT));
    EXPECT_EQ(WindowPixel(combo, 0, 0), skin::kFrameColour);
  }
  EXPECT_EQ(WindowPixel(editable, ButtonLeft(editable) + 2, 2), skin::kWhite);
  // A simple combo box has an edit field too: below its list, inside the frame, the skin's white
  // body shows, not what the control's own painting leaves there.
  RECT combo{};
  RECT list{};
  GetWindowRect(simple, &combo);
  ASSERT_TRUE(GetWindowRect(skin_tests::ComboListOf(simple), &list));
  ASSERT_LT(list.bottom, combo.bottom - 1) << "no rows between the list and the frame";
  EXPECT_EQ(WindowPixel(simple, WindowSize(simple).cx / 2, list.bottom - combo.top), skin::kWhite);

  // A drop-down list gets its own painting first, then the frame and the button.
  InvalidateRect(dropList, nullptr, FALSE);
  UpdateWindow(dropList);
  EXPECT_TRUE(recorder.Saw(dropList, WM_PAINT));
  EXPECT_EQ(WindowPixel(dropList, 0, 0), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(dropList, 1, 1), skin::kWhite);
  EXPECT_EQ(WindowPixel(dropList, ButtonLeft(dropList) + 2, 2), skin::kWhite);
}

TEST_F(ComboHandlersTest, DroppedListShowsThePressedButtonWhateverIsAsked) {
  Skin();
  HWND combo = gallery->comboDropList;
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  testing_support::PumpMessages();
  testing_support::MoveCursorTo(combo, 5, 5);
  SendMessageW(combo, WM_MOUSEMOVE, 0, PointParam(5, 5));
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Pressed);
  EXPECT_EQ(WindowPixel(combo, ButtonLeft(combo) + 1, 1), skin::kComboSpritePixels[0][5]);
  SendMessageW(combo, WM_WINDOWPOSCHANGING, 0, 0);
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Pressed);

  // The list is skinned as it asks its parent for colours: it carries the double frame.
  HWND list = skin_tests::ComboListOf(combo);
  EXPECT_TRUE(skin::IsSkinned(list));
  EXPECT_EQ(WindowPixel(list, 0, 0), skin::kFrameColour);

  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  SendMessageW(combo, WM_WINDOWPOSCHANGING, 0, 0);
  EXPECT_EQ(skin::GetSkinState(combo), SkinState::Normal);
}

TEST_F(ComboHandlersTest, ReleaseStateFollowsTheWindowUnderTheCursor) {
  Skin();
  HWND list = gallery->driveList;
  testing_support::MoveCursorTo(list, WindowSize(list).cx - 5, 5);
  SendMessageW(list, WM_LBUTTONUP, 0, PointParam(5, 5));
  EXPECT_EQ(skin::GetSkinState(list), SkinState::Hot);
  SendMessageW(list, WM_LBUTTONUP, 0, PointParam(5, 5));  // the same state again: no change
  MoveCursorAway();
  SendMessageW(list, WM_LBUTTONUP, 0, PointParam(5, 5));
  EXPECT_EQ(skin::GetSkinState(list), SkinState::Normal);

  // Over the edit field of an editable combo box the cursor is over another window.
  HWND editable = gallery->comboEditable;
  skin::SetSkinState(editable, SkinState::Pressed);
  testing_support::MoveCursorTo(editable, 10, WindowSize(editable).cy / 2);
  SendMessageW(editable, WM_LBUTTONUP, 0, PointParam(10, 5));
  EXPECT_EQ(skin::GetSkinState(editable), SkinState::Normal);
}

TEST_F(ComboHandlersTest, SimpleComboBoxGetsNoButtonAndDisabledOnesTheGreyArrow) {
  Skin();
  HWND simple = gallery->comboSimple;
  testing_support::MoveCursorTo(simple, 5, 5);
  SendMessageW(simple, WM_MOUSEMOVE, 0, PointParam(5, 5));
  EXPECT_EQ(skin::GetSkinState(simple), SkinState::Normal);
  EXPECT_NE(WindowPixel(simple, ButtonLeft(simple), 1), skin::kComboSpritePixels[0][0]);

  HWND disabled = gallery->comboDisabled;
  const SIZE size = WindowSize(disabled);
  const int arrowX = ButtonLeft(disabled) +
                     skin::ComboArrowX(skin::ComboButtonWidth(GetSystemMetrics(SM_CXVSCROLL)));
  EXPECT_EQ(WindowPixel(disabled, arrowX, 1 + skin::ComboArrowY(size.cy)), kArrowDisabled);
  EXPECT_EQ(WindowPixel(disabled, 0, 0), skin::kDisabledFrameColour);
}

}  // namespace
}  // namespace handler_tests
