#include "tests/support/window_pixels.h"

#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "tests/support/pictures.h"

namespace testing_support {

COLORREF WindowPixel(HWND window, int x, int y) {
  gdi::WindowDc dc(window);
  return GetPixel(dc.get(), x, y);
}

std::vector<COLORREF> WindowPixels(HWND window, int x, int y, int width, int height) {
  gdi::WindowDc dc(window);
  return ReadPixels(dc.get(), x, y, width, height);
}

SIZE WindowSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void FillWindow(HWND window, int x, int y, int width, int height, COLORREF colour) {
  gdi::WindowDc dc(window);
  skin::FillSolid(dc.get(), x, y, width, height, colour);
}

}  // namespace testing_support
