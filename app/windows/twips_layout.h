#pragma once

// Positions and sizes of the windows and their controls are kept in twips (1,440 to the inch),
// so that every window keeps its proportions at any display scale; they become pixels at the
// window's DPI here. At 96 DPI a twips figure that is a multiple of 15 is that many whole pixels.

#include <windows.h>

#include "app/windows/painted_label.h"
#include "win/dpi.h"

namespace app {

// Left, top, width, height in twips, in the client coordinates of the parent window.
struct TwipsBox {
  int left;
  int top;
  int width;
  int height;
};

struct TwipsSize {
  int width;
  int height;
};

// Each figure is turned into pixels on its own, so that controls of one size keep one size.
inline PixelBox PixelsAt(const TwipsBox& box, int dpi) {
  return {win::TwipsToPixels(box.left, dpi), win::TwipsToPixels(box.top, dpi),
          win::TwipsToPixels(box.width, dpi), win::TwipsToPixels(box.height, dpi)};
}

inline SIZE PixelsAt(const TwipsSize& size, int dpi) {
  return {win::TwipsToPixels(size.width, dpi), win::TwipsToPixels(size.height, dpi)};
}

}  // namespace app
