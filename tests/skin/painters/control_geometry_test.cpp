#include "skin/painters/control_geometry.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(ComboButton, WidthAndArrowPosition) {
  EXPECT_EQ(ComboButtonWidth(17), 18);
  EXPECT_EQ(ComboArrowX(18), 6);  // 11 - 5.5 = 5.5
  EXPECT_EQ(ComboArrowX(20), 6);  // 13 - 6.5 = 6.5
  EXPECT_EQ(ComboArrowX(17), 5);  // 10 - 5
  EXPECT_EQ(ComboArrowY(21), 8);  // 7.5
  EXPECT_EQ(ComboArrowY(23), 8);  // 8.5
  EXPECT_EQ(ComboArrowY(24), 9);
}

TEST(ComboArrowZone, BoundsAreInclusive) {
  const int w = 120, h = 24, c = 17;
  // x from w - c - 2 = 101 to w - 2 = 118, y from 2 to h - 2 = 22.
  EXPECT_TRUE(InComboArrowZone(101, 2, w, h, c));
  EXPECT_TRUE(InComboArrowZone(118, 22, w, h, c));
  EXPECT_TRUE(InComboArrowZone(110, 12, w, h, c));
  EXPECT_FALSE(InComboArrowZone(100, 12, w, h, c));
  EXPECT_FALSE(InComboArrowZone(119, 12, w, h, c));
  EXPECT_FALSE(InComboArrowZone(110, 1, w, h, c));
  EXPECT_FALSE(InComboArrowZone(110, 23, w, h, c));
  EXPECT_FALSE(InComboArrowZone(-5, -5, w, h, c));
}

TEST(ItemUnderX, SharedBorderBelongsToTheLowerIndex) {
  const std::vector<ItemSpan> items{{0, 100}, {100, 180}, {180, 250}};
  EXPECT_EQ(ItemUnderX(items, 0), 0);
  EXPECT_EQ(ItemUnderX(items, 100), 0);
  EXPECT_EQ(ItemUnderX(items, 101), 1);
  EXPECT_EQ(ItemUnderX(items, 180), 1);
  EXPECT_EQ(ItemUnderX(items, 250), 2);
  EXPECT_EQ(ItemUnderX(items, 251), -1);
  EXPECT_EQ(ItemUnderX(items, -1), -1);
  EXPECT_EQ(ItemUnderX({}, 0), -1);
}

TEST(ProgressFill, FractionOfTheFixedFullScale) {
  EXPECT_EQ(ProgressFraction(15000), 0.5f);
  EXPECT_EQ(ProgressFraction(0), 0.0f);
  EXPECT_EQ(ProgressFraction(30000), 1.0f);
  EXPECT_GT(ProgressFraction(40000), 1.0f);

  EXPECT_EQ(HorizontalFill(200, 0.5f).length, 100);
  EXPECT_EQ(HorizontalFill(101, 0.5f).length, 50);  // 50.5
  EXPECT_EQ(HorizontalFill(103, 0.5f).length, 52);  // 51.5
  EXPECT_EQ(HorizontalFill(200, 0.0f).length, 0);
  EXPECT_EQ(HorizontalFill(200, ProgressFraction(40000)).length, 267);

  // Height 10 at a quarter: 2.5 pixels become 2, starting at 7.5 -> 8.
  const PixelSpan quarter = VerticalFill(10, ProgressFraction(7500));
  EXPECT_EQ(quarter.start, 8);
  EXPECT_EQ(quarter.length, 2);
  const PixelSpan full = VerticalFill(10, 1.0f);
  EXPECT_EQ(full.start, 0);
  EXPECT_EQ(full.length, 10);
  // A third, held in single precision, of 9 pixels is still 3.
  EXPECT_EQ(VerticalFill(9, ProgressFraction(10000)).length, 3);
}

}  // namespace
}  // namespace skin
