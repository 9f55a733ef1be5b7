#pragma once

// Pixel comparisons for skinned windows: what a window shows on the screen against a surface.

#include <windows.h>

#include <vector>

namespace testing_support {

// The whole window as it shows on the screen now (frame included), row-major.
std::vector<COLORREF> ReadWindowPixels(HWND window);

// The width x height block at the origin of a memory surface.
std::vector<COLORREF> ReadSurfacePixels(HDC surface, int width, int height);

// What a skinned push button's state surface ("HDC0" to "HDC3") holds, at the button's full size.
std::vector<COLORREF> StatePixels(HWND button, int state);

// Pixels of the window (inside its window region, where it has one) that differ from the
// surface; 0 when the window shows the surface exactly.
int CountDifferencesInRegion(HWND window, const std::vector<COLORREF>& expected);

}  // namespace testing_support
