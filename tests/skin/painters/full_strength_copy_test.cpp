// At fade level 255 the button painter copies the state image instead of blending it. A blend
// at full strength without per-pixel alpha gives exactly the source pixels, so the two ways
// must agree pixel for pixel, on any background; below 255 the painter still blends. (The copy
// through the button's own window DC is checked where a drag off the button ends its fade.)

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/surface.h"
#include "skin/painters/button_painter.h"
#include "tests/support/skin_test_form.h"
#include "tests/support/skin_test_pixels.h"

namespace skin {
namespace {

using testing_support::ReadSurfacePixels;

constexpr int kWidth = 257;
constexpr int kHeight = 25;
constexpr BYTE kFullLevel = 255;
constexpr BYTE kAlmostFullLevel = 254;

// Vertical stripes in colours far from the button faces, so that any pixel the painter fails
// to cover, or blends instead of copying, shows.
void PaintBackground(HDC dc) {
  constexpr COLORREF kStripes[] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x000000, 0x808080};
  constexpr int kStripeWidth = 7;
  for (int x = 0, i = 0; x < kWidth; x += kStripeWidth, ++i) {
    FillSolid(dc, x, 0, kStripeWidth, kHeight, kStripes[i % 6]);
  }
}

// What the painter draws at `level` over the stripes, and what a blend of the state image at the
// same level gives over the same stripes.
struct TwoWays {
  std::vector<COLORREF> painted;
  std::vector<COLORREF> blended;
};

TwoWays DrawBothWays(HWND button, int state, BYTE level) {
  SetSkinState(button, static_cast<SkinState>(state));
  SetSkinProp(button, props::kAlphaLevel, level);
  Surface painted(kWidth, kHeight);
  Surface blended(kWidth, kHeight);
  PaintBackground(painted.get());
  PaintBackground(blended.get());
  PaintButton(button, painted.get());
  HDC image = GetSkinPropHandle<HDC>(button, props::kStateSurface[state]);
  GdiAlphaBlend(blended.get(), 0, 0, kWidth, kHeight, image, 0, 0, kWidth, kHeight,
                BLENDFUNCTION{AC_SRC_OVER, 0, level, 0});
  return {ReadSurfacePixels(painted.get(), kWidth, kHeight),
          ReadSurfacePixels(blended.get(), kWidth, kHeight)};
}

class FullStrengthCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SkinInstall(form_.form()), 1);
    button_ = form_.wideButton();
    RECT rect{};
    GetWindowRect(button_, &rect);
    ASSERT_EQ(rect.right - rect.left, kWidth);
    ASSERT_EQ(rect.bottom - rect.top, kHeight);
  }
  void TearDown() override { SkinRemove(form_.form()); }

  testing_support::SkinTestForm form_;
  HWND button_ = nullptr;
};

TEST_F(FullStrengthCopyTest, CopyAtFullLevelGivesTheBlendsPixelsInEveryState) {
  for (int state = 0; state < kSkinStateCount; ++state) {
    SCOPED_TRACE(testing::Message() << "state " << state);
    const TwoWays drawn = DrawBothWays(button_, state, kFullLevel);
    ASSERT_EQ(drawn.painted.size(), static_cast<size_t>(kWidth * kHeight));
    EXPECT_EQ(drawn.painted, drawn.blended);
    HDC image = GetSkinPropHandle<HDC>(button_, props::kStateSurface[state]);
    EXPECT_EQ(drawn.painted, ReadSurfacePixels(image, kWidth, kHeight))
        << "at full strength the state image replaces the picture exactly";
  }
}

TEST_F(FullStrengthCopyTest, BelowFullLevelThePainterStillBlends) {
  const TwoWays drawn = DrawBothWays(button_, 0, kAlmostFullLevel);
  EXPECT_EQ(drawn.painted, drawn.blended);
  HDC image = GetSkinPropHandle<HDC>(button_, props::kStateSurface[0]);
  EXPECT_NE(drawn.painted, ReadSurfacePixels(image, kWidth, kHeight))
      << "at 254 the stripes must still show through a little";
}

}  // namespace
}  // namespace skin
