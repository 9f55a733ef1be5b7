#include "skin/graphics/primitives.h"

#include <gtest/gtest.h>

namespace {

TEST(WordHalves, KeepTheirSign) {
  EXPECT_EQ(skin::LowWord(static_cast<LONG_PTR>(0xFFFF0005u)), 5);
  EXPECT_EQ(skin::HighWord(static_cast<LONG_PTR>(0xFFFF0005u)), -1);
  EXPECT_EQ(skin::LowWord(static_cast<LONG_PTR>(0x0000FFFBu)), -5);
  EXPECT_EQ(skin::HighWord(static_cast<LONG_PTR>(0x0000FFFBu)), 0);
}

}  // namespace
