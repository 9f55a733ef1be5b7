// Twips to pixels at a DPI, and the platform's DPI of a window.

#include "win/dpi.h"

#include <gtest/gtest.h>

namespace {

TEST(TwipsToPixels, WholePixelsAt96AndHalvesToEvenElsewhere) {
  for (int pixels = 0; pixels <= 600; ++pixels) {
    ASSERT_EQ(win::TwipsToPixels(pixels * 15, 96), pixels) << pixels << " pixels at 96 DPI";
  }
  EXPECT_EQ(win::TwipsToPixels(4350, 144), 435);
  EXPECT_EQ(win::TwipsToPixels(4350, 192), 580);
  // 120 DPI: 12 twips a pixel, so 6 twips are half a pixel and 18 are one and a half.
  EXPECT_EQ(win::TwipsToPixels(6, 120), 0);
  EXPECT_EQ(win::TwipsToPixels(18, 120), 2);
  EXPECT_EQ(win::TwipsToPixels(-18, 120), -2);
  // Font sizes by the same rule: 10.5 point is 17.5 pixels at 120 DPI and 24.5 at 168.
  EXPECT_EQ(win::TenthsOfPointToPixels(120, 96), 16);
  EXPECT_EQ(win::TenthsOfPointToPixels(105, 120), 18);
  EXPECT_EQ(win::TenthsOfPointToPixels(105, 168), 24);
}

TEST(WindowDpi, FollowsTheScreenAndFramesMatchTheClassicCallAtItsDpi) {
  const int screen = win::ScreenDpi();
  EXPECT_GT(screen, 0);
  EXPECT_EQ(win::WindowDpi(nullptr), screen);
  EXPECT_EQ(win::WindowDpi(GetDesktopWindow()), screen);

  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_BORDER;
  RECT classic{0, 0, 290, 153};
  RECT forDpi = classic;
  AdjustWindowRectEx(&classic, style, FALSE, 0);
  win::AdjustWindowRectForDpi(&forDpi, style, 0, screen);
  EXPECT_EQ(forDpi.right - forDpi.left, classic.right - classic.left);
  EXPECT_EQ(forDpi.bottom - forDpi.top, classic.bottom - classic.top);
}

}  // namespace
