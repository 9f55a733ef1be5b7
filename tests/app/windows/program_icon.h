#pragma once

// The program's icons as a window holds them: the width of each image, and the sizes a window
// at a DPI must show.

#include <windows.h>

#include <gtest/gtest.h>

#include "win/dpi.h"
#include "win/unique_handle.h"

namespace icon_tests {

// The width of an icon's image; 0 for none.
inline int IconWidth(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return 0;
  const win::Bitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bitmap{};
  GetObjectW(mask.get(), sizeof(bitmap), &bitmap);
  return bitmap.bmWidth;
}

// The width of the window's big or small icon; 0 when it has none.
inline int IconWidth(HWND window, WPARAM which) {
  return IconWidth(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0)));
}

// The window shows the program's icons at its DPI's sizes, each drawn for that size: small 16
// and big 32 pixels at 96 DPI, 24 and 48 at 144, 32 and 64 at 192.
inline void ExpectIconsAt(HWND window, int dpi) {
  EXPECT_EQ(IconWidth(window, ICON_SMALL), 16 * dpi / win::kDefaultDpi) << "small icon";
  EXPECT_EQ(IconWidth(window, ICON_BIG), 32 * dpi / win::kDefaultDpi) << "big icon";
}

// The image of exactly side x side pixels in the program's icon group, as an icon of its own;

}  // namespace icon_tests
