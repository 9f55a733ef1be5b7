#include <windows.h>

#include <gtest/gtest.h>

#include "skin/graphics/blit.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/graphics/surface.h"
#include "tests/support/gdi_accounting.h"

namespace {

// The accounting is exact: an object lost per round shows as a hundred after a hundred rounds.
// The rounds differ only in the state cell (round % 4), so a hundred cover every case 25 times.
constexpr int kLeakRounds = 100;
constexpr int kCheckEvery = 25;

TEST(GraphicsLeaks, AHundredRoundsLeaveEveryObjectCountWhereItWas) {
  ASSERT_TRUE(testing_support::GdiAccountingAvailable());
  const testing_support::GdiCounts before = testing_support::CountGdiObjects();
  for (int round = 0; round < kLeakRounds; ++round) {
    skin::BuildSpriteSheet();
    HDC surface = skin::CreateSurface(40, 24);
    skin::BlitNineGrid(surface, 0, 0, 40, 24, skin::ButtonSprite(), skin::ButtonCell(round % 4),
                       skin::kButtonMargins);
    skin::BlitNineGrid(surface, 2, 2, 13, 13, skin::OptionSprite(), skin::OptionCell(round % 4),
                       skin::kOptionMargins, skin::kKeyColour);
    skin::BlitTransparent(surface, 4, 4, skin::GlyphSprite(), skin::kGlyphCheckEnabled);
    skin::FillSolid(surface, 30, 2, 4, 4, 0x00FF00);
    skin::FrameSolid(surface, 0, 0, 40, 24, 0x0000FF);
    skin::DestroySurface(surface);
    skin::ReleaseSpriteSheet();
    if (round % kCheckEvery == kCheckEvery - 1) {
      ASSERT_EQ(testing_support::CountGdiObjects(), before) << "after round " << round;
    }
  }
  EXPECT_EQ(testing_support::CountGdiObjects(), before);
}

TEST(GraphicsLeaks, DrawingThroughAWindowDcLeavesNothingBehind) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_BORDER, 0, 0, 60, 30, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  skin::BuildSpriteSheet();
  // The system keeps the window's DC cached for the window's life: take it once before counting.
  { const gdi::WindowDc first(window); }
  EXPECT_GDI_OBJECTS_UNCHANGED({
    for (int round = 0; round < 200; ++round) {
      const gdi::WindowDc windowDc(window);
      skin::BlitNineGrid(windowDc.get(), 0, 0, 60, 30, skin::HeaderSprite(),
                         skin::HeaderCell(round % 3), skin::kHeaderMargins);
      skin::BlitNineGrid(windowDc.get(), 4, 4, 13, 13, skin::OptionSprite(), skin::OptionCell(1),
                         skin::kOptionMargins, skin::kKeyColour);
      skin::DrawFocusBox(windowDc.get(), 2, 2, 56, 26);
    }
  });
  skin::ReleaseSpriteSheet();
  DestroyWindow(window);
}

}  // namespace
