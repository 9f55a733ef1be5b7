#include "tests/support/skin_test_pixels.h"

#include "skin/graphics/gdi_handles.h"
#include "tests/support/pictures.h"

namespace testing_support {

namespace {

SIZE WindowSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

std::vector<COLORREF> ReadWindowPixels(HWND window) {
  const SIZE size = WindowSize(window);
  gdi::WindowDc dc(window);
  return ReadPixels(dc.get(), 0, 0, size.cx, size.cy);
}

std::vector<COLORREF> ReadSurfacePixels(HDC surface, int width, int height) {
  return ReadPixels(surface, 0, 0, width, height);
}

int CountDifferencesInRegion(HWND window, const std::vector<COLORREF>& expected) {
  const SIZE size = WindowSize(window);
  const std::vector<COLORREF> actual = ReadWindowPixels(window);
  if (actual.size() != expected.size() || actual.empty()) return -1;
  gdi::Region region(CreateRectRgn(0, 0, 0, 0));
  const bool hasRegion = GetWindowRgn(window, region.get()) != ERROR;
  int differences = 0;
  for (int y = 0; y < size.cy; ++y) {
    for (int x = 0; x < size.cx; ++x) {
      if (hasRegion && !PtInRegion(region.get(), x, y)) continue;
      const size_t i =
          static_cast<size_t>(y) * static_cast<size_t>(size.cx) + static_cast<size_t>(x);
      if (actual[i] != expected[i]) ++differences;
    }
  }
  return differences;
}

}  // namespace testing_support
