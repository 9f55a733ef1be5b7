#include "tests/support/pictures.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "skin/graphics/gdi_handles.h"
#include "tests/support/gdi_accounting.h"

namespace {

TEST(Pictures, ReadBackAndSaveWhatWasDrawn) {
  const gdi::WindowDc screen(nullptr, gdi::WindowDc::Area::Client);
  gdi::MemoryDc memory(screen.get());
  gdi::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), 3, 2));
  gdi::SelectGuard select(memory.get(), bitmap.get());
  const COLORREF colours[6] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0xD58F1B};
  for (int i = 0; i < 6; ++i) SetPixel(memory.get(), i % 3, i / 3, colours[i]);

  EXPECT_GDI_OBJECTS_UNCHANGED({
    std::vector<COLORREF> pixels = testing_support::ReadPixels(memory.get(), 0, 0, 3, 2);
    ASSERT_EQ(pixels.size(), 6u);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(pixels[i], colours[i]) << "pixel " << i;

    std::wstring path = testing_support::SavePicture(memory.get(), 0, 0, 3, 2, L"pictures.bmp", 4);
    ASSERT_FALSE(path.empty());
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    // 14 + 40 header bytes, then 8 rows of 12 pixels at 3 bytes (36, already a multiple of 4).
    EXPECT_EQ(data.nFileSizeLow, 54u + 8u * 36u);
  });
}

}  // namespace
