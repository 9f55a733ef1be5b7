#include "tests/support/skinned_gallery.h"

#include "skin/core/skin_engine.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "tests/support/pictures.h"

namespace testing_support {

void SkinnedGalleryTest::SetUp() {
  MoveCursorAway();
  gallery = std::make_unique<testing_support::ControlGallery>();
}

void SkinnedGalleryTest::TearDown() {
  ReleaseCapture();
  if (gallery) skin::SkinRemove(gallery->form);
  gallery.reset();
  MoveCursorAway();
  testing_support::PumpMessages();
}

void SkinnedGalleryTest::Skin() {
  ASSERT_EQ(skin::SkinInstall(gallery->form), 1);
  UpdateWindow(gallery->form);
  testing_support::PumpMessages();
}

LPARAM PointParam(int x, int y) { return MAKELPARAM(x, y); }

void MoveCursorAway() { SetCursorPos(1000, 900); }

COLORREF WindowPixel(HWND window, int x, int y) {
  gdi::WindowDc dc(window);
  return GetPixel(dc.get(), x, y);
}

std::vector<COLORREF> WindowPixels(HWND window, int x, int y, int width, int height) {
  gdi::WindowDc dc(window);
  return testing_support::ReadPixels(dc.get(), x, y, width, height);
}

SIZE WindowSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void FillWindow(HWND window, int x, int y, int width, int height, COLORREF colour) {
  gdi::WindowDc dc(window);
  skin::FillSolid(dc.get(), x, y, width, height, colour);
}

}  // namespace testing_support
