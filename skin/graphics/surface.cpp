#include "skin/graphics/surface.h"

#include <algorithm>
#include <vector>

#include "skin/graphics/gdi_handles.h"

namespace skin {
namespace {

// What DestroySurface needs to undo CreateSurface: the bitmap the surface owns and the 1 x 1
// bitmap the memory DC held before it.
struct SurfaceRecord {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ original;
};

// Surfaces alive now. Few at any time (five sprites, four state images per push button and the
// temporaries of one paint), so a linear search is cheap. User-interface thread only.
std::vector<SurfaceRecord>& LiveSurfaces() {
  static std::vector<SurfaceRecord> surfaces;
  return surfaces;
}

}  // namespace

HDC CreateSurface(int width, int height) {
  // An empty bitmap would be the shared 1 x 1 stock bitmap, which no surface may own.
  if (width <= 0 || height <= 0) return nullptr;
  gdi::DisplayDc display;
  return CreateSurface(width, height, display.get());
}

HDC CreateSurface(int width, int height, HDC display) {
  if (width <= 0 || height <= 0 || display == nullptr) return nullptr;
  gdi::MemoryDc memory(display);
  if (!memory) return nullptr;
  // Compatible with the display, not with the memory DC, whose bitmap is monochrome.
  gdi::Bitmap bitmap(CreateCompatibleBitmap(display, width, height));
  if (!bitmap) return nullptr;
  HGDIOBJ original = SelectObject(memory.get(), bitmap.get());
  if (original == nullptr || original == HGDI_ERROR) return nullptr;
  LiveSurfaces().push_back({memory.get(), bitmap.get(), original});
  // Both now belong to the surface; DestroySurface releases them.
  bitmap.release();
  return memory.release();
}

void DestroySurface(HDC surface) {
  if (surface == nullptr) return;
  auto& surfaces = LiveSurfaces();
  auto found =
      std::find_if(surfaces.begin(), surfaces.end(),
                   [surface](const SurfaceRecord& record) { return record.dc == surface; });
  if (found == surfaces.end()) return;
  SurfaceRecord record = *found;
  surfaces.erase(found);
  SelectObject(record.dc, record.original);
  DeleteObject(record.bitmap);
  DeleteDC(record.dc);
}

}  // namespace skin
