#include "skin/painters/paint_scale.h"

#include "skin/core/skin_props.h"
#include "skin/graphics/sprite_layout.h"

namespace skin {

PaintScale ScaleOf(HWND window) {
  const int dpi = GetSkinDpi(window);
  const int factor = SpriteFactorForDpi(dpi);
  return {dpi, factor, SpriteSheetAt(factor)};
}

}  // namespace skin
