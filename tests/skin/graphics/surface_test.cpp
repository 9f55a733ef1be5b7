#include "skin/graphics/surface.h"

#include <gtest/gtest.h>

#include "skin/graphics/gdi_handles.h"
#include "tests/support/gdi_accounting.h"

namespace {

TEST(Surface, HoldsADisplayCompatibleBitmapOfTheRequestedSize) {
  // The screen DC comes from the system's cache, which fills on first use: read it outside.
  const int displayBits =
      GetDeviceCaps(gdi::WindowDc(nullptr, gdi::WindowDc::Area::Client).get(), BITSPIXEL);
  EXPECT_GDI_OBJECTS_UNCHANGED({
    skin::Surface surface(13, 7);
    ASSERT_TRUE(surface);
    auto bitmap = static_cast<HBITMAP>(GetCurrentObject(surface.get(), OBJ_BITMAP));
    BITMAP info{};
    ASSERT_NE(GetObjectW(bitmap, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 13);
    EXPECT_EQ(info.bmHeight, 7);
    EXPECT_EQ(info.bmBitsPixel, displayBits);
  });
}

TEST(Surface, DestroyIgnoresWhatItDidNotCreate) {
  EXPECT_GDI_OBJECTS_UNCHANGED({
    EXPECT_EQ(skin::CreateSurface(0, 5), nullptr);
    EXPECT_EQ(skin::CreateSurface(5, -1), nullptr);
    skin::DestroySurface(nullptr);

    gdi::MemoryDc foreign(nullptr);
    skin::DestroySurface(foreign.get());
    EXPECT_EQ(GetObjectType(foreign.get()), static_cast<DWORD>(OBJ_MEMDC)) << "still alive";

    HDC surface = skin::CreateSurface(3, 3);
    skin::DestroySurface(surface);
    skin::DestroySurface(surface);  // a second destroy does nothing
  });
}

}  // namespace
