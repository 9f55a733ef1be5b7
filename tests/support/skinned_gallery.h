#pragma once

// The control gallery with the skin installed on its form, for tests that drive the skinned
// controls with real messages. The cursor starts away from the form.

#include <windows.h>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/control_gallery.h"

namespace testing_support {

class SkinnedGalleryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Installs the skin and lets the first paints run.
  void Skin();

  std::unique_ptr<ControlGallery> gallery;
};

// A point in client coordinates packed as a mouse message's lParam.
LPARAM PointParam(int x, int y);

// Puts the real cursor somewhere off the gallery form.
void MoveCursorAway();

COLORREF WindowPixel(HWND window, int x, int y);
std::vector<COLORREF> WindowPixels(HWND window, int x, int y, int width, int height);
SIZE WindowSize(HWND window);

inline constexpr COLORREF kSentinel = 0x123456;
void FillWindow(HWND window, int x, int y, int width, int height, COLORREF colour = kSentinel);

}  // namespace testing_support
