#include <windows.h>

#include <gtest/gtest.h>

#include "skin/painters/hover_fade.h"

namespace skin {
namespace {

TEST(FadeArithmetic, StepsOfThreeEndingAfterTheBlendAt255) {
  EXPECT_EQ(NextFadeLevel(0), 3);
  EXPECT_EQ(NextFadeLevel(60), 63);
  EXPECT_EQ(NextFadeLevel(252), 255);
  EXPECT_EQ(NextFadeLevel(255), 0);
  int blends = 0;
  for (LONG_PTR level = 0;; level = NextFadeLevel(level)) {
    ++blends;
    if (NextFadeLevel(level) == 0) break;
  }
  EXPECT_EQ(blends, 86);
}

}  // namespace
}  // namespace skin
