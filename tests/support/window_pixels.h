#pragma once

// Reading and covering a window's pixels through its whole-window device context (origin at the
// window's top-left corner, frame included), for tests of what painters drew.

#include <windows.h>

#include <vector>

namespace testing_support {

COLORREF WindowPixel(HWND window, int x, int y);
std::vector<COLORREF> WindowPixels(HWND window, int x, int y, int width, int height);

// Size of the window rectangle.
SIZE WindowSize(HWND window);

// A colour no painter uses: fill a block with it to see what a later call draws over it.
inline constexpr COLORREF kSentinel = 0x123456;
void FillWindow(HWND window, int x, int y, int width, int height, COLORREF colour = kSentinel);

}  // namespace testing_support
