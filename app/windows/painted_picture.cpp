#include "app/windows/painted_picture.h"

#include <cstdlib>

#include "win/unique_handle.h"

namespace app {
namespace {

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (GetObjectW(bitmap, sizeof info, &info) == 0) return {};
  return {info.bmWidth, std::abs(info.bmHeight)};
}

}  // namespace

int StretchModeFor(SIZE picture, SIZE box) {
  const bool wholeFactor = picture.cx > 0 && picture.cy > 0 && box.cx % picture.cx == 0 &&
                           box.cy % picture.cy == 0 && box.cx / picture.cx == box.cy / picture.cy;
  return wholeFactor ? COLORONCOLOR : HALFTONE;
}

void DrawPictureInBox(HDC dc, HBITMAP picture, const PixelBox& box) {
  const SIZE size = BitmapSize(picture);
  win::MemoryDc source(dc);
  win::SelectGuard selectPicture(source.get(), picture);
  win::DcStateGuard state(dc);
  const int mode = StretchModeFor(size, {box.width, box.height});
  SetStretchBltMode(dc, mode);
  // A halftone stretch needs the brush origin set after the mode.
  if (mode == HALFTONE) SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, box.left, box.top, box.width, box.height, source.get(), 0, 0, size.cx, size.cy,
             SRCCOPY);
}

}  // namespace app
