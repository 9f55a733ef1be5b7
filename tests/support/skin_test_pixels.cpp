#include "tests/support/skin_test_pixels.h"

#include <gtest/gtest.h>

#include "skin/core/skin_props.h"
#include "skin/core/skin_state.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_tables.h"
#include "skin/painters/button_painter.h"
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

int SpriteCornerFaults(const std::vector<COLORREF>& face, SIZE size, int state, int k,
                       const std::function<bool(int x, int y)>& skip) {
  if (face.size() != static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy)) return -1;
  const auto differs = [&](int x, int y, int u, int v) {
    if (skip && skip(x, y)) return false;
    return face[static_cast<size_t>(y) * static_cast<size_t>(size.cx) + static_cast<size_t>(x)] !=
           skin::kButtonSpritePixels[skin::kButtonCellHeight * state + v][u];
  };
  return CornerFaults(size, {skin::kButtonSpriteWidth, skin::kButtonCellHeight}, k, differs);
}

bool InFocusBoxCorner(SIZE size, int k, int x, int y) {
  const auto inner = [k](int position, int extent) {
    return (position >= 2 * k && position < 3 * k) ||
           (position >= extent - 3 * k && position < extent - 2 * k);
  };
  return inner(x, size.cx) && inner(y, size.cy);
}

void ExpectFacesRenderedAt(HWND button, int k) {
  SCOPED_TRACE(testing::Message() << "faces of button " << button << " at factor " << k);
  const SIZE size = WindowSize(button);
  const bool focused = GetFocus() == button;
  std::vector<std::vector<COLORREF>> drawn;
  for (int state = 0; state < skin::kSkinStateCount; ++state) {
    drawn.push_back(StatePixels(button, state));
    EXPECT_EQ(SpriteCornerFaults(
                  drawn.back(), size, state, k,
                  [&](int x, int y) { return focused && InFocusBoxCorner(size, k, x, y); }),
              0)
        << "corners of state " << state;
  }
  skin::RenderButtonStates(button);
  for (int state = 0; state < skin::kSkinStateCount; ++state) {
    EXPECT_EQ(StatePixels(button, state), drawn[state]) << "state " << state << " out of date";
  }
}

}  // namespace testing_support
