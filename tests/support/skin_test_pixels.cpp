#include "tests/support/skin_test_pixels.h"

#include "skin/core/skin_props.h"
#include "skin/graphics/gdi_handles.h"
#include "tests/support/pictures.h"
#include "tests/support/window_pixels.h"

namespace testing_support {

std::vector<COLORREF> ReadWindowPixels(HWND window) {
  const SIZE size = WindowSize(window);
  gdi::WindowDc dc(window);
  return ReadPixels(dc.get(), 0, 0, size.cx, size.cy);
}

std::vector<COLORREF> ReadSurfacePixels(HDC surface, int width, int height) {
  return ReadPixels(surface, 0, 0, width, height);
}

std::vector<COLORREF> StatePixels(HWND button, int state) {
  const SIZE size = WindowSize(button);
  return ReadSurfacePixels(skin::GetSkinPropHandle<HDC>(button, skin::props::kStateSurface[state]),
                           size.cx, size.cy);
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
