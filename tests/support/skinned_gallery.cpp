#include "tests/support/skinned_gallery.h"

#include "skin/engine/skin_engine.h"

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

}  // namespace testing_support
