// What every control family's handlers must not do: leave a hot look that no leave notification
// will ever clear, or put state back on a window that lost the skin while its own procedure ran.

#include <map>

#include "skin/core/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/painters/control_colours.h"
#include "tests/support/skinned_gallery.h"

namespace handler_tests {
namespace {

using namespace testing_support;

using skin::SkinState;

bool CarriesAnySkinKey(HWND window) {
  for (const char* key : skin::props::kAllKeys) {
    if (GetPropA(window, key) != nullptr) return true;
  }
  return false;
}

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

// Below the skin: a procedure that takes the skin off the whole form when a chosen message
// arrives, as a click that unloads a form does, then lets the control's own procedure handle it.
struct SkinRemover {
  static std::map<HWND, WNDPROC> originals;
  static std::map<HWND, UINT> removeOn;
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (removeOn[window] == message) {
      removeOn[window] = 0;
      skin::SkinRemove(GetAncestor(window, GA_ROOT));
    }
    return CallWindowProcW(originals[window], window, message, wParam, lParam);
  }
  static void Install(HWND window) {
    removeOn[window] = 0;
    originals[window] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
  }
};
std::map<HWND, WNDPROC> SkinRemover::originals;
std::map<HWND, UINT> SkinRemover::removeOn;

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
  for (const Case& c : cases) SkinRemover::Install(c.window);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "window " << c.window << " message " << c.message);
    Skin();
    MoveCursorTo(c.window, c.x, 5);
    SkinRemover::removeOn[c.window] = c.message;
    if (c.message == WM_PAINT) InvalidateRect(c.window, nullptr, FALSE);
    SendMessageW(c.window, c.message, c.message == WM_NCPAINT ? 1 : 0, PointParam(c.x, 5));
    EXPECT_EQ(skin::SkinnedWindowCount(), 0);
    EXPECT_FALSE(CarriesAnySkinKey(c.window));
    // The removal gave a list its own border back; the skin's frame must not come over it.
    if (c.message == WM_PAINT || c.message == WM_NCPAINT) {
      EXPECT_NE(WindowPixel(c.window, 0, 0), skin::kFrameColour);
    }
  }
}

}  // namespace
}  // namespace handler_tests
