#pragma once

// Text labels without a window of their own: the form that holds one draws its text in its
// box and tests the pointer against the box.

#include <windows.h>

#include <string_view>

namespace app {

// Left, top, width, height in pixels, in the client coordinates of the window that holds it.
struct PixelBox {
  int left;
  int top;
  int width;
  int height;

  RECT Rect() const { return {left, top, left + width, top + height}; }
  bool Contains(POINT point) const {
    return point.x >= left && point.x < left + width && point.y >= top && point.y < top + height;
  }
};

// The colour a text that the program paints itself is drawn in: its own, or while a
// high-contrast scheme runs the system's colour for text on the windows' face (COLOR_BTNTEXT on
// COLOR_3DFACE).
COLORREF PaintedTextColour(COLORREF own);

// The same for a link: the system's link colour (COLOR_HOTLIGHT) while a high-contrast scheme
// runs.
COLORREF PaintedLinkColour(COLORREF own);

// Draws the text transparently into the box, wrapped at word and character boundaries within
// its width, clipped to the box. The device context is left as it was.
void DrawPaintedLabel(HDC dc, const PixelBox& box, std::wstring_view text, HFONT font,
                      COLORREF colour);

}  // namespace app
