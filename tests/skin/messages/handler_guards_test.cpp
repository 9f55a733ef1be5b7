// What every control family's handlers must not do: leave a hot look that no leave notification
// will ever clear, or put state back on a window that lost the skin while its own procedure ran.

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/painters/control_colours.h"
#include "tests/support/message_recorder.h"
#include "tests/support/skinned_gallery.h"
#include "tests/support/window_properties.h"

namespace handler_tests {
namespace {

using namespace testing_support;

using skin::SkinState;

class HandlerGuardsTest : public SkinnedGalleryTest {};

TEST_F(HandlerGuardsTest, AMoveWhileThePointerIsElsewhereLeavesNothingHot) {
  Skin();
  MoveCursorAway();  // a move that arrives late: no leave notification would follow it
  for (HWND control : {gallery->checkUnchecked, gallery->optionSecond, gallery->comboDropList,
                       gallery->driveList, gallery->header}) {
    SCOPED_TRACE(testing::Message() << "control " << control);
    SendMessageW(control, WM_MOUSEMOVE, 0, PointParam(5, 5));
    EXPECT_EQ(skin::GetSkinProp(control, skin::props::kMouseFlag), 0);
    EXPECT_EQ(skin::GetSkinState(control), SkinState::Normal);
  }
  EXPECT_EQ(skin::GetSkinProp(gallery->header, skin::props::kHeaderHotIndex), -1);
}

TEST_F(HandlerGuardsTest, EveryFamilyLeavesAWindowAloneThatLostTheSkinMeanwhile) {
  struct Case {
    HWND window;
    UINT message;
    int x = 5;  // where the pointer is; on the header, over item 1 (item 0 would store index 0)
  };
  const Case cases[] = {
      {gallery->checkUnchecked, WM_MOUSEMOVE},
      {gallery->optionSecond, WM_LBUTTONDOWN},
      {gallery->comboDropList, WM_MOUSEMOVE},
      {gallery->driveList, WM_MOUSEMOVE},
      {gallery->header, WM_LBUTTONDOWN, 150},
      {gallery->dataList, WM_PAINT},
      {gallery->grid, WM_PAINT},
      {gallery->clientEdgeList, WM_NCPAINT},
  };
  // Below the skin, the chosen message takes the skin off the whole form before the control's own
  // procedure handles it, as a click that unloads a form does.
  MessageRecorder remover;
  for (const Case& c : cases) remover.Watch(c.window);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "window " << c.window << " message " << c.message);
    Skin();
    MoveCursorTo(c.window, c.x, 5);
    remover.RunBefore(c.window, c.message,
                      [&c] { skin::SkinRemove(GetAncestor(c.window, GA_ROOT)); });
    if (c.message == WM_PAINT) InvalidateRect(c.window, nullptr, FALSE);
    SendMessageW(c.window, c.message, c.message == WM_NCPAINT ? 1 : 0, PointParam(c.x, 5));
    EXPECT_EQ(skin::SkinnedWindowCount(), 0);
    EXPECT_FALSE(CarriesAnySkinProperty(c.window));
    // The removal gave a list its own border back; the skin's frame must not come over it.
    if (c.message == WM_PAINT || c.message == WM_NCPAINT) {
      EXPECT_NE(WindowPixel(c.window, 0, 0), skin::kFrameColour);
    }
  }
}

}  // namespace
}  // namespace handler_tests
