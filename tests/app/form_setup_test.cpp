// Centring arithmetic of the windows: halves go to the even neighbour.

#include <gtest/gtest.h>

#include "app/form_setup.h"

namespace {

TEST(FormSetup, CentresWithEvenRoundingAndAllowsLargerWindows) {
  EXPECT_EQ(app::CenteredOffset(1280, 296), 492);
  EXPECT_EQ(app::CenteredOffset(1024, 177), 424);  // 423.5
  EXPECT_EQ(app::CenteredOffset(1024, 179), 422);  // 422.5
  EXPECT_EQ(app::CenteredOffset(100, 101), 0);     // -0.5
  EXPECT_EQ(app::CenteredOffset(100, 103), -2);    // -1.5: wider than the screen, still centred
}

}  // namespace
