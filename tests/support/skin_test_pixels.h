#pragma once

// Pixel comparisons for skinned windows: what a window shows on the screen against a surface,
// and a push button's face against the button sprite.

#include <windows.h>

#include <functional>
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

// Counts the pixels of the four 3k x 3k corners of a block of `size` for which
// differs(x, y, u, v) holds, (u, v) being the pixel's place in the 3 x 3 corners of a factor-1
// block of `unit`: every k x k square of the block's corners stands for one pixel there.
template <typename Differs>
int CornerFaults(SIZE size, SIZE unit, int k, Differs differs) {
  const int corner = 3 * k;
  int faults = 0;
  for (int y = 0; y < size.cy; ++y) {
    if (y >= corner && y < size.cy - corner) continue;
    const int v = y < corner ? y / k : unit.cy - 3 + (y - (size.cy - corner)) / k;
    for (int x = 0; x < size.cx; ++x) {
      if (x >= corner && x < size.cx - corner) continue;
      const int u = x < corner ? x / k : unit.cx - 3 + (x - (size.cx - corner)) / k;
      faults += differs(x, y, u, v);
    }
  }
  return faults;
}

// Pixels of the corner cells of a push button's face (its width x height pixels, row-major) that
// are not those of the button sprite's cell of the state with every sprite pixel a k x k square.
// Pixels for which skip(x, y) holds are not looked at.
int SpriteCornerFaults(const std::vector<COLORREF>& face, SIZE size, int state, int k,
                       const std::function<bool(int x, int y)>& skip = nullptr);

// The one place where the faces of a button that holds the focus differ from the sprite in their
// corner cells: the corner of the focus box, in the inner k x k square of each corner.
bool InFocusBoxCorner(SIZE size, int k, int x, int y);

// Expects the four state images of a skinned push button to be exactly what rendering them now
// gives, and their corner cells to be the sprite's at factor k.
void ExpectFacesRenderedAt(HWND button, int k);

}  // namespace testing_support
