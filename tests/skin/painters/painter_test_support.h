#pragma once

// What the painter tests share: the sprite sheet built around each test and the gallery of
// controls, not skinned: the painters are called directly.

#include <memory>

#include <gtest/gtest.h>

#include "tests/support/control_gallery.h"
#include "tests/support/window_pixels.h"

namespace painter_tests {

using testing_support::FillWindow;
using testing_support::kSentinel;
using testing_support::WindowPixel;
using testing_support::WindowPixels;
using testing_support::WindowSize;

class PainterTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<testing_support::ControlGallery> gallery;
};

}  // namespace painter_tests
