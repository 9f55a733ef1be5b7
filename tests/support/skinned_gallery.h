#pragma once

// The control gallery with the skin installed on its form, for tests that drive the skinned
// controls with real messages. The cursor starts away from the form.

#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "tests/support/control_gallery.h"
#include "tests/support/window_pixels.h"

namespace testing_support {

class SkinnedGalleryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Installs the skin and lets the first paints run.
  void Skin();

  std::unique_ptr<ControlGallery> gallery;
};

// A point in client coordinates packed as a mouse message's lParam.
LPARAM PointParam(int x, int y);

// Puts the real cursor somewhere off the gallery form.
void MoveCursorAway();

}  // namespace testing_support
