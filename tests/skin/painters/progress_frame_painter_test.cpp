#include "skin/painters/progress_frame_painter.h"

#include <commctrl.h>

#include <array>

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

// The frames of list-like controls, drawn over a sentinel fill of the window's corner: the
// pixels on its diagonal show how wide the frame is and in which colours (a client edge fills
// the rings inside it with the client background), and a control without the style a frame
// needs is left untouched.
struct FrameCase {
  const char* what;
  HWND testing_support::ControlGallery::*window;
  void (*draw)(HWND);
  bool disabled;                     // disabled before the frame is drawn
  std::array<COLORREF, 3> diagonal;  // pixels (0, 0), (1, 1) and (2, 2)
};

TEST_F(ProgressFramePainterTest, ListFramesFollowTheStyleAndTheState) {
  using testing_support::ControlGallery;
  const COLORREF frame = skin::kFrameColour;
  const COLORREF white = skin::kWhite;
  const COLORREF disabledFrame = skin::kDisabledFrameColour;
  // clang-format off
  const FrameCase cases[] = {
      {"client edge on a plain list", &ControlGallery::plainList, skin::DrawClientEdgeFrame,
       false, {kSentinel, kSentinel, kSentinel}},
      {"client edge", &ControlGallery::clientEdgeList, skin::DrawClientEdgeFrame,
       false, {frame, white, white}},
      {"client edge, disabled", &ControlGallery::clientEdgeListDisabled, skin::DrawClientEdgeFrame,
       false, {disabledFrame, white, white}},
      {"grid frame without a border", &ControlGallery::gridBorderless, skin::DrawGridFrame,
       false, {kSentinel, kSentinel, kSentinel}},
      {"grid frame", &ControlGallery::grid, skin::DrawGridFrame,
       false, {frame, kSentinel, kSentinel}},
      {"double frame", &ControlGallery::dataList, skin::DrawDoubleFrame,
       false, {frame, white, kSentinel}},
      {"double frame, disabled", &ControlGallery::dataList, skin::DrawDoubleFrame,
       true, {disabledFrame, white, kSentinel}},
  };
  // clang-format on
  for (const FrameCase& test : cases) {
    HWND window = gallery.get()->*test.window;
    if (test.disabled) EnableWindow(window, FALSE);
    FillWindow(window, 0, 0, 4, 4);
    test.draw(window);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(WindowPixel(window, i, i), test.diagonal[static_cast<size_t>(i)])
          << test.what << ", pixel (" << i << ", " << i << ")";
    }
  }
  // The client edge goes round the whole window.
  HWND edged = gallery->clientEdgeList;
  const SIZE size = WindowSize(edged);
  EXPECT_EQ(WindowPixel(edged, size.cx - 2, size.cy - 2), white);
}

}  // namespace
}  // namespace painter_tests
