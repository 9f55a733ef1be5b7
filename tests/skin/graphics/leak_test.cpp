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

// Each drawing call into a memory surface is counted where it is tested (blit, primitives, sprite
// sheet and surface tests); through a window DC the platform's cached DC comes in as well.
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
