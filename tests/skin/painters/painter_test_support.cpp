#include "tests/skin/painters/painter_test_support.h"

#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_sheet.h"
#include "tests/support/pictures.h"

namespace painter_tests {

void PainterTest::SetUp() {
  skin::BuildSpriteSheet();
  gallery = std::make_unique<testing_support::ControlGallery>();
}

void PainterTest::TearDown() {
  gallery.reset();
  skin::ReleaseSpriteSheet();
}

COLORREF WindowPixel(HWND window, int x, int y) {
  gdi::WindowDc dc(window);
  return GetPixel(dc.get(), x, y);
}

std::vector<COLORREF> WindowPixels(HWND window, int x, int y, int width, int height) {
  gdi::WindowDc dc(window);
  return testing_support::ReadPixels(dc.get(), x, y, width, height);
}

void FillWindow(HWND window, int x, int y, int width, int height, COLORREF colour) {
  gdi::WindowDc dc(window);
  skin::FillSolid(dc.get(), x, y, width, height, colour);
}

SIZE WindowSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace painter_tests
