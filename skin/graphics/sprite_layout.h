#pragma once

// Where things are on the five sprite surfaces: their sizes, the cell of every state and glyph,
// the nine-grid margins each cell is drawn with, and the key colour that marks transparent
// pixels. States are numbered 0 normal, 1 hot, 2 pressed, 3 disabled.
//
// The figures below are those of the sheet drawn at factor 1, one surface pixel per table pixel.
// A sheet drawn at a whole factor k repeats every pixel k x k, so its cells and margins are these
// times k (Scaled).

#include <windows.h>

#include "win/dpi.h"

namespace skin {

// Magenta: sprite pixels of this colour stay transparent when a cell is copied with a key.
inline constexpr COLORREF kKeyColour = 0xFF00FF;

// A rectangle on a sprite surface: x, y, width, height.
struct SpriteCell {
  int x;
  int y;
  int width;
  int height;
};

// Widths of the left and right edge pieces and heights of the top and bottom edge pieces.
struct NineGridMargins {
  int left;
  int top;
  int right;
  int bottom;
};

// The whole factor the sprites are drawn at for a DPI, so that they stay crisp: 1 below 175 %
// (168 DPI), 2 below 275 % (264 DPI), 3 from there on.
inline constexpr int kMaxSpriteFactor = 3;
constexpr int SpriteFactorForDpi(int dpi) { return win::WholeFactorForDpi(dpi); }

// A cell or margins of the sheet drawn at factor k.
constexpr SpriteCell Scaled(const SpriteCell& cell, int factor) {
  return {cell.x * factor, cell.y * factor, cell.width * factor, cell.height * factor};
}
constexpr NineGridMargins Scaled(const NineGridMargins& margins, int factor) {
  return {margins.left * factor, margins.top * factor, margins.right * factor,
          margins.bottom * factor};
}

// ButtonSprite: four 7 x 21 cells stacked vertically, one per state 0..3.
inline constexpr int kButtonSpriteWidth = 7;
inline constexpr int kButtonSpriteHeight = 84;
inline constexpr int kButtonCellHeight = 21;
constexpr SpriteCell ButtonCell(int state) {
  return {0, kButtonCellHeight * state, kButtonSpriteWidth, kButtonCellHeight};
}
inline constexpr NineGridMargins kButtonMargins{3, 3, 3, 3};

// ComboSprite: drop-button faces 4 x 18 (hot, pressed; none for normal and disabled) and drop
// arrows 7 x 4 (enabled, disabled).
inline constexpr int kComboSpriteWidth = 15;
inline constexpr int kComboSpriteHeight = 18;
inline constexpr SpriteCell kComboHotFace{0, 0, 4, 18};
inline constexpr SpriteCell kComboPressedFace{4, 0, 4, 18};
inline constexpr SpriteCell kComboArrowEnabled{8, 0, 7, 4};
inline constexpr SpriteCell kComboArrowDisabled{8, 4, 7, 4};
inline constexpr NineGridMargins kComboFaceMargins{2, 1, 1, 1};

// GlyphSprite: enabled glyphs in the left column, disabled ones in the right column.
inline constexpr int kGlyphSpriteWidth = 18;
inline constexpr int kGlyphSpriteHeight = 24;
inline constexpr SpriteCell kGlyphCheckEnabled{0, 0, 9, 8};
inline constexpr SpriteCell kGlyphCheckDisabled{9, 0, 9, 8};
inline constexpr SpriteCell kGlyphIndeterminateEnabled{1, 9, 7, 7};
inline constexpr SpriteCell kGlyphIndeterminateDisabled{10, 9, 7, 7};
inline constexpr SpriteCell kGlyphOptionDotEnabled{2, 18, 5, 5};
inline constexpr SpriteCell kGlyphOptionDotDisabled{11, 18, 5, 5};

// OptionSprite: four 13 x 13 circles stacked vertically, one per state 0..3, drawn with the
// key colour. The hot and pressed interiors also serve as the check-box fill (11 x 5 bands).
inline constexpr int kOptionSpriteWidth = 13;
inline constexpr int kOptionSpriteHeight = 52;
inline constexpr int kOptionCellSize = 13;
constexpr SpriteCell OptionCell(int state) {
  return {0, kOptionCellSize * state, kOptionCellSize, kOptionCellSize};
}
inline constexpr NineGridMargins kOptionMargins{5, 5, 5, 5};
inline constexpr SpriteCell kOptionHotBand{1, 17, 11, 5};
inline constexpr SpriteCell kOptionPressedBand{1, 30, 11, 5};

// HeaderSprite: three 3 x 20 cells side by side, states 0..2 (none for disabled); column x 1 of
// the normal cell is the header background.
inline constexpr int kHeaderSpriteWidth = 9;
inline constexpr int kHeaderSpriteHeight = 20;
inline constexpr int kHeaderCellWidth = 3;
constexpr SpriteCell HeaderCell(int state) {
  return {kHeaderCellWidth * state, 0, kHeaderCellWidth, kHeaderSpriteHeight};
}
inline constexpr NineGridMargins kHeaderMargins{1, 1, 1, 1};
inline constexpr SpriteCell kHeaderBackgroundColumn{1, 0, 1, kHeaderSpriteHeight};

}  // namespace skin
