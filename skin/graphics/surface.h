#pragma once

// Surfaces: memory device contexts with their own display-compatible bitmap. A surface is
// handed around as its HDC; DestroySurface releases the bitmap together with the context.

#include <windows.h>

#include <utility>

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
// nullptr is ignored; so is a DC that CreateSurface did not make.
void DestroySurface(HDC surface);

// Owns one surface and destroys it when it goes out of scope.
class Surface {
 public:
  Surface() = default;
  Surface(int width, int height) : dc_(CreateSurface(width, height)) {}
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  Surface(Surface&& other) noexcept : dc_(other.release()) {}
  Surface& operator=(Surface&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~Surface() { reset(); }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

  // Gives the surface up without destroying it; the caller says who owns it now.
  HDC release() { return std::exchange(dc_, nullptr); }

  void reset(HDC dc = nullptr) {
    if (dc_ != nullptr) DestroySurface(dc_);
    dc_ = dc;
  }

 private:
  HDC dc_ = nullptr;
};

}  // namespace skin
