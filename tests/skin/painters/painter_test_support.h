#pragma once

// What the painter tests share: the sprite sheet built around each test, the gallery of controls
// (not skinned: the painters are called directly) and pixel access through window DCs.

#include <windows.h>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/control_gallery.h"

namespace painter_tests {

class PainterTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<testing_support::ControlGallery> gallery;
};

// One pixel of the window, origin at its top-left corner (frame included).
COLORREF WindowPixel(HWND window, int x, int y);

// A block of the window's pixels, row-major.
std::vector<COLORREF> WindowPixels(HWND window, int x, int y, int width, int height);

// Fills a block of the window with a colour no painter uses, to see what a call draws.
inline constexpr COLORREF kSentinel = 0x123456;
void FillWindow(HWND window, int x, int y, int width, int height, COLORREF colour = kSentinel);

// Size of the window rectangle.
SIZE WindowSize(HWND window);

}  // namespace painter_tests
