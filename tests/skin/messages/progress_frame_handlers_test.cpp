#include <windows.h>

#include <commctrl.h>

#include "skin/graphics/gdi_handles.h"
#include "skin/painters/control_colours.h"
#include "tests/support/skinned_gallery.h"
#include "tests/support/pictures.h"

namespace handler_tests {
namespace {

using namespace testing_support;

std::vector<COLORREF> ClientPixels(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  gdi::WindowDc dc(window, gdi::WindowDc::Area::Client);
  return testing_support::ReadPixels(dc.get(), 0, 0, client.right, client.bottom);
}

class ProgressFrameHandlersTest : public SkinnedGalleryTest {};

// The paint messages reach the painters, whose pixels the painter tests check in full.
TEST_F(ProgressFrameHandlersTest, ProgressBarsAreDrawnByTheSkinAlone) {
  Skin();
  HWND bar = gallery->progressHorizontal;  // at 15000 of 30000
  RECT client{};
  GetClientRect(bar, &client);
  InvalidateRect(bar, nullptr, FALSE);
  EXPECT_EQ(SendMessageW(bar, WM_PAINT, 0, 0), 0);
  const std::vector<COLORREF> pixels = ClientPixels(bar);
  const int half = client.right / 2;  // the gallery's bars are an even number of pixels wide
  ASSERT_EQ(client.right % 2, 0);
  EXPECT_EQ(pixels[static_cast<size_t>(half - 1)], skin::kProgressBarColour);
  EXPECT_EQ(pixels[static_cast<size_t>(half)], skin::kWhite);

  EXPECT_EQ(SendMessageW(bar, WM_NCPAINT, 1, 0), 0);
  EXPECT_EQ(WindowPixel(bar, 0, 0), skin::kFrameColour);
  // The frame keeps its colour on a disabled bar.
  EXPECT_EQ(WindowPixel(gallery->progressDisabled, 0, 0), skin::kFrameColour);
}

TEST_F(ProgressFrameHandlersTest, ListFramesByKindAndStyle) {
  // What the borderless grid's own procedure draws, before the skin.
  const SIZE gridSize = WindowSize(gallery->gridBorderless);
  const std::vector<COLORREF> gridBefore =
      WindowPixels(gallery->gridBorderless, 0, 0, gridSize.cx, gridSize.cy);
  Skin();
  RedrawWindow(gallery->form, nullptr, nullptr,
               RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

  EXPECT_EQ(WindowPixels(gallery->gridBorderless, 0, 0, gridSize.cx, gridSize.cy), gridBefore);
  EXPECT_EQ(WindowPixel(gallery->grid, 0, 0), skin::kFrameColour);

  EXPECT_EQ(WindowPixel(gallery->dataList, 0, 0), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(gallery->dataList, 1, 1), skin::kWhite);

  EXPECT_EQ(WindowPixel(gallery->clientEdgeList, 0, 0), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(gallery->clientEdgeListDisabled, 0, 0), skin::kDisabledFrameColour);
  EXPECT_NE(WindowPixel(gallery->plainList, 0, 0), skin::kFrameColour);
  EXPECT_NE(WindowPixel(gallery->plainList, 0, 0), skin::kDisabledFrameColour);
}

}  // namespace
}  // namespace handler_tests
