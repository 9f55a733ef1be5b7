#include "skin/graphics/surface.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "skin/graphics/gdi_handles.h"

namespace skin {
namespace {

// A surface and what it owns: the memory DC, its bitmap, and the selection that put the bitmap
// in place of the DC's original 1 x 1 bitmap. Members go in reverse order, as the owners require:
// the original bitmap is selected again, then the surface's bitmap and the DC are deleted.
struct SurfaceRecord {
  gdi::MemoryDc dc;
  gdi::Bitmap bitmap;
  gdi::SelectGuard selection;
};

// Surfaces alive now that the calling thread made: a surface belongs to its thread, as the
// sprite sheets it serves do (the skin keeps its state per thread, not behind a lock). Few at any
// time (five sprites per sheet, the temporaries of one paint), so a linear search is cheap. The
// list is made with the thread's first surface and freed with its last: nothing of it is left
// to destroy as the thread ends, and a DestroySurface after that finds no list and does nothing.
thread_local std::vector<SurfaceRecord>* liveSurfaces = nullptr;

}  // namespace

HDC CreateSurface(int width, int height) {
  // An empty bitmap would be the shared 1 x 1 stock bitmap, which no surface may own.
  if (width <= 0 || height <= 0) return nullptr;
  gdi::DisplayDc display;
  return CreateSurface(width, height, display.get());
}

HDC CreateSurface(int width, int height, HDC display) {
  if (width <= 0 || height <= 0 || display == nullptr) return nullptr;
  SurfaceRecord record{gdi::MemoryDc(display), {}, {nullptr, nullptr}};
  if (!record.dc) return nullptr;
  // Compatible with the display, not with the memory DC, whose bitmap is monochrome.
  record.bitmap.reset(CreateCompatibleBitmap(display, width, height));
  if (!record.bitmap) return nullptr;
  record.selection = gdi::SelectGuard(record.dc.get(), record.bitmap.get());
  if (!record.selection) return nullptr;
  HDC surface = record.dc.get();
  if (liveSurfaces == nullptr) liveSurfaces = new std::vector<SurfaceRecord>;
  liveSurfaces->push_back(std::move(record));
  return surface;
}

BITMAPINFO TopDownDibInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: the first row in memory is the top one
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

HBITMAP CreateTopDownDib(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  const BITMAPINFO info = TopDownDibInfo(width, height);
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

void DestroySurface(HDC surface) {
  if (surface == nullptr || liveSurfaces == nullptr) return;
  auto& surfaces = *liveSurfaces;
  auto found =
      std::find_if(surfaces.begin(), surfaces.end(),
                   [surface](const SurfaceRecord& record) { return record.dc.get() == surface; });
  if (found == surfaces.end()) return;
  // Taken out whole before the erase, which moves the later records down over its place: its
  // owners then let the surface go in their own order when it ends here.
  const SurfaceRecord record = std::move(*found);
  surfaces.erase(found);
  if (surfaces.empty()) delete std::exchange(liveSurfaces, nullptr);
}

}  // namespace skin
