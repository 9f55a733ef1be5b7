#include "skin/painters/header_painter.h"

#include <commctrl.h>

#include <string>

#include "skin/core/skin_props.h"
#include "skin/graphics/blit.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/graphics/sprite_tables.h"
#include "skin/graphics/surface.h"
#include "tests/skin/painters/painter_test_support.h"
#include "tests/support/pictures.h"

namespace painter_tests {
namespace {

using skin::SkinState;

RECT ItemRect(HWND header, int index) {
  RECT rect{};
  SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&rect));
  return rect;
}

// The bare face of a state at the size of item `index`, drawn straight from the sprite.
std::vector<COLORREF> BareFace(HWND header, int index, SkinState state) {
  const RECT item = ItemRect(header, index);
  const int width = item.right - item.left;
  const int height = item.bottom - item.top;
  skin::Surface face(width, WindowSize(header).cy);
  skin::BlitNineGrid(face.get(), 0, 0, width, WindowSize(header).cy, skin::HeaderSprite(),
                     skin::HeaderCell(skin::ToInt(state)), skin::kHeaderMargins);
  return testing_support::ReadPixels(face.get(), 0, 0, width, height);
}

std::vector<COLORREF> ItemPixels(HWND header, int index) {
  const RECT item = ItemRect(header, index);
  return WindowPixels(header, item.left, 0, item.right - item.left, item.bottom - item.top);
}

class HeaderPainterTest : public PainterTest {};

TEST_F(HeaderPainterTest, ItemShowsTheFaceOfItsStateWithItsText) {
  HWND header = gallery->header;
  const RECT item = ItemRect(header, 1);
  skin::PaintHeaderItem(header, nullptr, 1, SkinState::Pressed);
  EXPECT_EQ(WindowPixel(header, item.left + 1, 1), skin::kHeaderSpritePixels[1][7]);
  EXPECT_NE(ItemPixels(header, 1), BareFace(header, 1, SkinState::Pressed)) << "text drawn";
  skin::PaintHeaderItem(header, nullptr, 1, SkinState::Hot);
  EXPECT_EQ(WindowPixel(header, item.left + 1, 1), skin::kHeaderSpritePixels[1][4]);
  // Any state other than hot and pressed is normal.
  skin::PaintHeaderItem(header, nullptr, 1, SkinState::Disabled);
  EXPECT_EQ(WindowPixel(header, item.left + 1, 1), skin::kHeaderSpritePixels[1][1]);
  EXPECT_EQ(skin::HeaderItemText(header, 1), L"Size");
  testing_support::SaveWindowPicture(header, L"painter_header_item.bmp", 2);
}

TEST_F(HeaderPainterTest, EmptyTextDrawsTheBareFace) {
  HWND header = gallery->header;
  ASSERT_EQ(skin::HeaderItemText(header, 3), L"");
  for (SkinState state : {SkinState::Normal, SkinState::Hot, SkinState::Pressed}) {
    skin::PaintHeaderItem(header, nullptr, 3, state);
    EXPECT_EQ(ItemPixels(header, 3), BareFace(header, 3, state)) << skin::ToInt(state);
  }
}

TEST_F(HeaderPainterTest, NegativeIndexDrawsNothing) {
  HWND header = gallery->header;
  const SIZE size = WindowSize(header);
  FillWindow(header, 0, 0, size.cx, size.cy);
  skin::PaintHeaderItem(header, nullptr, -1, SkinState::Hot);
  skin::PaintHeaderItem(header, nullptr, 99, SkinState::Hot);
  const std::vector<COLORREF> pixels = WindowPixels(header, 0, 0, size.cx, size.cy);
  for (COLORREF pixel : pixels) ASSERT_EQ(pixel, kSentinel);
}

TEST_F(HeaderPainterTest, LongTextIsCutToTwoHundredFiftyFiveCharacters) {
  HWND header = gallery->header;
  std::wstring text(300, L'x');
  HDITEMW item{};
  item.mask = HDI_TEXT;
  item.pszText = text.data();
  SendMessageW(header, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(skin::HeaderItemText(header, 0), std::wstring(255, L'x'));
}

TEST_F(HeaderPainterTest, StripDrawsPressedOverHotAndTheBackgroundBeyond) {
  HWND header = gallery->header;
  const SIZE size = WindowSize(header);
  skin::SetSkinProp(header, skin::props::kHeaderDownIndex, 2);
  skin::SetSkinProp(header, skin::props::kHeaderHotIndex, 2);
  {
    gdi::WindowDc dc(header);
    skin::PaintHeaderStrip(header, dc.get());
  }
  const RECT pressed = ItemRect(header, 2);
  EXPECT_EQ(WindowPixel(header, pressed.left + 1, 1), skin::kHeaderSpritePixels[1][7]);
  const RECT normal = ItemRect(header, 0);
  EXPECT_EQ(WindowPixel(header, normal.left + 1, 1), skin::kHeaderSpritePixels[1][1]);
  EXPECT_EQ(ItemPixels(header, 3), BareFace(header, 3, SkinState::Normal));
  // Right of the last item: the middle column of the normal face, stretched.
  EXPECT_EQ(WindowPixel(header, size.cx - 1, 0), skin::kHeaderSpritePixels[0][1]);
  EXPECT_EQ(WindowPixel(header, size.cx - 1, size.cy - 1), skin::kHeaderSpritePixels[19][1]);
  testing_support::SaveWindowPicture(header, L"painter_header_strip.bmp", 2);
}

}  // namespace
}  // namespace painter_tests
