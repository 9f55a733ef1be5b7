#include "skin/graphics/surface.h"

#include <gtest/gtest.h>

#include "skin/graphics/blit.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/graphics/sprite_tables.h"

namespace {

TEST(Surface, HoldsADisplayCompatibleBitmapOfTheRequestedSize) {
  skin::Surface surface(13, 7);
  ASSERT_TRUE(surface);
  auto bitmap = static_cast<HBITMAP>(GetCurrentObject(surface.get(), OBJ_BITMAP));
  BITMAP info{};
  ASSERT_NE(GetObjectW(bitmap, sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 13);
  EXPECT_EQ(info.bmHeight, 7);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(info.bmBitsPixel, GetDeviceCaps(screen, BITSPIXEL));
  ReleaseDC(nullptr, screen);
}

}  // namespace
