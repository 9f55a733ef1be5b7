#pragma once

// Surfaces: memory device contexts with their own display-compatible bitmap. A surface is
// handed around as its HDC; DestroySurface releases the bitmap together with the context.

#include <windows.h>

#include "win/unique_handle.h"

namespace skin {

// Makes a memory DC compatible with the display with a width x height bitmap in the display's
// pixel format selected into it. Returns nullptr on failure or for a size that is not positive. The
// pixels are undefined until the caller paints them. The DC has the attributes of any new memory DC
// (black text, white background, opaque mode, system font, BLACKONWHITE stretching).
HDC CreateSurface(int width, int height);

// The same with the display DC given by a caller that makes several surfaces at once: opening
// a display DC costs more than the surface itself.
HDC CreateSurface(int width, int height, HDC display);

// Puts the DC's original 1 x 1 bitmap back, deletes the surface's bitmap and then the DC.
// nullptr is ignored; so is a DC that CreateSurface did not make on the calling thread.
void DestroySurface(HDC surface);

// The header of a 32-bit top-down DIB of width x height (uncompressed, no colour table).
BITMAPINFO TopDownDibInfo(int width, int height);

// A 32-bit top-down DIB section of width x height, for a memory DC of its own that is drawn into
// now and then and copied from often (a push button's state images). Under Wine it costs a small
// fraction of a display-compatible bitmap, whose creation is a round through the display driver.
// Its pixels are undefined until painted. nullptr on failure or for a size that is not positive.
HBITMAP CreateTopDownDib(int width, int height);

// Lets a surface go with DestroySurface.
struct SurfaceTraits {
  using Handle = HDC;
  static bool Close(HDC surface) {
    DestroySurface(surface);
    return true;
  }
};

// Owns one surface and destroys it when it goes out of scope.
class Surface : public win::UniqueHandle<SurfaceTraits> {
 public:
  Surface() = default;
  Surface(int width, int height) : UniqueHandle(CreateSurface(width, height)) {}
};

}  // namespace skin
