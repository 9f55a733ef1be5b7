#include "skin/painters/progress_frame_painter.h"

#include <commctrl.h>

#include "skin/graphics/surface.h"
#include "skin/painters/control_colours.h"
#include "tests/skin/painters/painter_test_support.h"
#include "tests/support/pictures.h"

namespace painter_tests {
namespace {

// A progress bar of its own on the gallery form, with the full range 0..30000 (or more).
HWND MakeBar(HWND form, DWORD style, int width, int height, int position, int range = 30000) {
  HWND bar =
      CreateWindowExW(0, testing_support::kGalleryProgressClass, L"", WS_CHILD | WS_VISIBLE | style,
                      0, 420, width, height, form, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(bar, PBM_SETRANGE32, 0, range);
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  return bar;
}

// The client paint of the bar into a surface of its client size.
std::vector<COLORREF> ClientPaint(HWND bar, SIZE& size) {
  RECT client{};
  GetClientRect(bar, &client);
  size = {client.right, client.bottom};
  skin::Surface surface(size.cx, size.cy);
  skin::PaintProgressClient(bar, surface.get());
  return testing_support::ReadPixels(surface.get(), 0, 0, size.cx, size.cy);
}

class ProgressFramePainterTest : public PainterTest {};

TEST_F(ProgressFramePainterTest, HorizontalBarFillsItsFractionFromTheLeft) {
  HWND bar = MakeBar(gallery->form, 0, 101, 6, 15000);
  SIZE size{};
  std::vector<COLORREF> pixels = ClientPaint(bar, size);
  ASSERT_EQ(size.cx, 101);
  // 101 * 0.5 = 50.5 goes to 50.
  for (int y = 0; y < size.cy; ++y) {
    EXPECT_EQ(pixels[y * size.cx + 49], skin::kProgressBarColour);
    EXPECT_EQ(pixels[y * size.cx + 50], skin::kWhite);
  }

  SendMessageW(bar, PBM_SETPOS, 0, 0);
  pixels = ClientPaint(bar, size);
  for (COLORREF pixel : pixels) ASSERT_EQ(pixel, skin::kWhite);
  DestroyWindow(bar);
}

TEST_F(ProgressFramePainterTest, VerticalBarGrowsFromTheBottom) {
  HWND bar = MakeBar(gallery->form, PBS_VERTICAL, 4, 10, 7500);
  SIZE size{};
  const std::vector<COLORREF> pixels = ClientPaint(bar, size);
  ASSERT_EQ(size.cy, 10);
  // A quarter of 10 rows: 2.5 goes to 2, from row 7.5, which goes to 8.
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(pixels[y * size.cx], y >= 8 ? skin::kProgressBarColour : skin::kWhite) << y;
  }
  DestroyWindow(bar);
}

TEST_F(ProgressFramePainterTest, PositionBeyondTheFullScaleIsClipped) {
  HWND bar = MakeBar(gallery->form, 0, 60, 6, 40000, 40000);
  ASSERT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 40000);
  SIZE size{};
  const std::vector<COLORREF> pixels = ClientPaint(bar, size);
  for (COLORREF pixel : pixels) ASSERT_EQ(pixel, skin::kProgressBarColour);
  DestroyWindow(bar);
}

TEST_F(ProgressFramePainterTest, WholeWindowPaintKeepsTheFrameColourWhenDisabled) {
  for (HWND bar : {gallery->progressHorizontal, gallery->progressDisabled}) {
    skin::PaintProgressWindow(bar);
    const SIZE size = WindowSize(bar);
    EXPECT_EQ(WindowPixel(bar, 0, 0), skin::kFrameColour);
    EXPECT_EQ(WindowPixel(bar, size.cx - 1, size.cy - 1), skin::kFrameColour);
  }
  // A smooth vertical bar shows its fill from the bottom of the client area.
  HWND vertical = gallery->progressVerticalSmooth;
  skin::PaintProgressWindow(vertical);
  const SIZE size = WindowSize(vertical);
  EXPECT_EQ(WindowPixel(vertical, size.cx / 2, size.cy - 3), skin::kProgressBarColour);
  EXPECT_EQ(WindowPixel(vertical, size.cx / 2, 3), skin::kWhite);
}

TEST_F(ProgressFramePainterTest, ClientEdgeFrameOnlyWithAClientEdge) {
  HWND plain = gallery->plainList;
  FillWindow(plain, 0, 0, 4, 4);
  skin::DrawClientEdgeFrame(plain);
  EXPECT_EQ(WindowPixel(plain, 0, 0), kSentinel);

  HWND edged = gallery->clientEdgeList;
  const SIZE size = WindowSize(edged);
  skin::DrawClientEdgeFrame(edged);
  EXPECT_EQ(WindowPixel(edged, 0, 0), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(edged, 1, 1), skin::kWhite);
  EXPECT_EQ(WindowPixel(edged, size.cx - 2, size.cy - 2), skin::kWhite);

  HWND disabled = gallery->clientEdgeListDisabled;
  skin::DrawClientEdgeFrame(disabled);
  EXPECT_EQ(WindowPixel(disabled, 0, 0), skin::kDisabledFrameColour);
}

TEST_F(ProgressFramePainterTest, GridFrameOnlyWithABorder) {
  HWND borderless = gallery->gridBorderless;
  FillWindow(borderless, 0, 0, 4, 4);
  skin::DrawGridFrame(borderless);
  EXPECT_EQ(WindowPixel(borderless, 0, 0), kSentinel);

  HWND grid = gallery->grid;
  FillWindow(grid, 0, 0, 4, 4);
  skin::DrawGridFrame(grid);
  EXPECT_EQ(WindowPixel(grid, 0, 0), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(grid, 1, 1), kSentinel) << "a single frame";
}

TEST_F(ProgressFramePainterTest, DoubleFrameOfLists) {
  HWND list = gallery->dataList;
  FillWindow(list, 0, 0, 4, 4);
  skin::DrawDoubleFrame(list);
  EXPECT_EQ(WindowPixel(list, 0, 0), skin::kFrameColour);
  EXPECT_EQ(WindowPixel(list, 1, 1), skin::kWhite);
  EXPECT_EQ(WindowPixel(list, 2, 2), kSentinel);
  EnableWindow(list, FALSE);
  skin::DrawDoubleFrame(list);
  EXPECT_EQ(WindowPixel(list, 0, 0), skin::kDisabledFrameColour);
}

}  // namespace
}  // namespace painter_tests
