#include "tests/skin/painters/painter_test_support.h"

#include "skin/graphics/sprite_sheet.h"

namespace painter_tests {

void PainterTest::SetUp() {
  skin::BuildSpriteSheet();
  gallery = std::make_unique<testing_support::ControlGallery>();
}

void PainterTest::TearDown() {
  gallery.reset();
  skin::ReleaseSpriteSheet();
}

}  // namespace painter_tests
