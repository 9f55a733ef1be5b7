#pragma once

// The scale a window is drawn at: the skin's DPI of the window (skin_props.h), the whole factor
// the sprites are drawn at for that DPI, and the sheet drawn at that factor. Every painter asks
// for it once per call; cells, margins, glyphs and arrows are then the factor-1 figures of
// sprite_layout.h times the factor.

#include <windows.h>

#include "skin/graphics/sprite_sheet.h"

namespace skin {

struct PaintScale {
  int dpi;
  int factor;
  SpriteSheet sheet;  // empty while no sheet of the factor is built
};

PaintScale ScaleOf(HWND window);

}  // namespace skin
