#pragma once

// Copying sprite cells: nine-grid stretching that keeps corners at their own size, and copies
// that leave out the pixels of one key colour. Both compose in memory and write the destination
// once, so a control is never seen half drawn.

#include <windows.h>

#include <optional>

#include "skin/graphics/sprite_layout.h"

namespace skin {

// Draws the source cell (srcX, srcY, srcWidth, srcHeight) at (destX, destY, destWidth,
// destHeight): corners unscaled, edges stretched along their length, centre stretched both ways;
// all margins 0 stretch the whole cell. Without keyColour the destination is covered and the
// result is that of the final BitBlt; with keyColour (a COLORREF, or an OLE system-colour
// reference) destination pixels under key pixels stay as they were and the result is 1.
// Returns 0 and draws nothing when any of the four sizes is 0.
int BlitNineGrid(HDC destDC, int destX, int destY, int destWidth, int destHeight, HDC srcDC,
                 int srcX, int srcY, int srcWidth, int srcHeight, int marginLeft, int marginTop,
                 int marginRight, int marginBottom,
                 std::optional<COLORREF> keyColour = std::nullopt);

// The same with the cell and margins as records, e.g.
//   BlitNineGrid(dc, 0, 0, w, h, ButtonSprite(), ButtonCell(state), kButtonMargins);
int BlitNineGrid(HDC destDC, int destX, int destY, int destWidth, int destHeight, HDC srcDC,
                 const SpriteCell& cell, const NineGridMargins& margins,
                 std::optional<COLORREF> keyColour = std::nullopt);

// Draws the cell's nine pieces (or, with all margins 0, the whole cell stretched) straight onto
// a surface, width x height at its origin, with the stretching mode of a new memory DC, exactly
// as BlitNineGrid composes them. For surfaces nobody sees while they are drawn (a push button's
// state images): no temporary surface is made. Draws nothing when a size is not positive.
void ComposeNineGrid(HDC surface, int width, int height, HDC srcDC, const SpriteCell& cell,
                     const NineGridMargins& margins);

// Copies the width x height block at (srcX, srcY) of srcDC to (destX, destY) of destDC, leaving
// out source pixels of keyColour (a COLORREF, or an OLE system-colour reference translated
// against palette; a halftone palette is made when palette is nullptr). The source DC's text
// and background colours do not affect the result and are left as they were.
void BlitTransparent(HDC destDC, int destX, int destY, int width, int height, HDC srcDC, int srcX,
                     int srcY, COLORREF keyColour, HPALETTE palette = nullptr);

// The same for a whole sprite cell drawn at its own size, e.g.
//   BlitTransparent(dc, x, y, GlyphSprite(), kGlyphCheckEnabled);
void BlitTransparent(HDC destDC, int destX, int destY, HDC srcDC, const SpriteCell& cell,
                     COLORREF keyColour = kKeyColour);

}  // namespace skin
