#pragma once

// A picture that a form draws itself, filling a box of its client area at the window's scale.

#include <windows.h>

#include "app/windows/painted_label.h"

namespace app {

// How a picture of `picture` pixels is stretched over a box of `box` pixels: at a whole factor
// (the same in both directions) every pixel is repeated, so the picture stays crisp
// (COLORONCOLOR); at any other size it is smoothed (HALFTONE).
int StretchModeFor(SIZE picture, SIZE box);

// Draws the bitmap stretched over the box. The device context is left as it was.
void DrawPictureInBox(HDC dc, HBITMAP picture, const PixelBox& box);

}  // namespace app
