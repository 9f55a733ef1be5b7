#include "skin/graphics/blit.h"

#include <algorithm>

#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/surface.h"
#include "win/ole_automation.h"

namespace skin {
namespace {

// Destination AND NOT source: blacks out the destination where the source is white.
constexpr DWORD kRopDestAndNotSource = 0x00220326;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;

// The key as a plain COLORREF: OLE colours (system-colour references included) are translated
// against the palette, and the top byte is cleared.
COLORREF TranslateKey(COLORREF keyColour, HPALETTE palette) {
  COLORREF key = keyColour;
  win::TranslateOleColour(keyColour, palette, &key);
  return key & 0x00FFFFFF;
}

// One axis of the nine grid: the destination sizes of the two edge pieces. When the destination
// is smaller than both margins together, they share it in proportion to the margins, so that no
// piece gets a negative extent (which would mirror it); the centre then vanishes.
struct EdgeSizes {
  int first;
  int second;
};

EdgeSizes FitMargins(int destSize, int first, int second) {
  if (destSize >= first + second) return {first, second};
  int fitted = first * destSize / (first + second);
  return {fitted, destSize - fitted};
}

void Stretch(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY,
             int srcWidth, int srcHeight) {
  if (width <= 0 || height <= 0) return;
  StretchBlt(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, SRCCOPY);
}

void Copy(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY) {
  if (width <= 0 || height <= 0) return;
  BitBlt(dest, x, y, width, height, src, srcX, srcY, SRCCOPY);
}

// Draws the nine pieces of the cell into a surface of W x H at its origin.
void DrawNineGrid(HDC target, int W, int H, HDC src, int srcX, int srcY, int w, int h,
                  const NineGridMargins& margins) {
  const EdgeSizes across = FitMargins(W, margins.left, margins.right);
  const EdgeSizes down = FitMargins(H, margins.top, margins.bottom);
  const int L = across.first, R = across.second, T = down.first, B = down.second;
  // Source edges are the cell's own margins; only their outer parts are used when the
  // destination is too small for them.
  const int srcInnerWidth = w - margins.left - margins.right;
  const int srcInnerHeight = h - margins.top - margins.bottom;
  const int srcRight = srcX + w - R;
  const int srcBottom = srcY + h - B;
  const int srcInnerX = srcX + margins.left;
  const int srcInnerY = srcY + margins.top;

  if (L > 0 && T > 0) Copy(target, 0, 0, L, T, src, srcX, srcY);
  if (R > 0 && T > 0) Copy(target, W - R, 0, R, T, src, srcRight, srcY);
  if (L > 0 && B > 0) Copy(target, 0, H - B, L, B, src, srcX, srcBottom);
  if (R > 0 && B > 0) Copy(target, W - R, H - B, R, B, src, srcRight, srcBottom);
  if (L > 0) Stretch(target, 0, T, L, H - T - B, src, srcX, srcInnerY, L, srcInnerHeight);
  if (R > 0) Stretch(target, W - R, T, R, H - T - B, src, srcRight, srcInnerY, R, srcInnerHeight);
  if (T > 0) Stretch(target, L, 0, W - L - R, T, src, srcInnerX, srcY, srcInnerWidth, T);
  if (B > 0) Stretch(target, L, H - B, W - L - R, B, src, srcInnerX, srcBottom, srcInnerWidth, B);
  Stretch(target, L, T, W - L - R, H - T - B, src, srcInnerX, srcInnerY, srcInnerWidth,
          srcInnerHeight);
}

// The whole cell onto a surface at its origin: nine pieces, or one stretch when every margin is
// 0. Negative margins count as 0.
void DrawCell(HDC target, int W, int H, HDC src, int srcX, int srcY, int w, int h,
              const NineGridMargins& requested) {
  const NineGridMargins margins{std::max(requested.left, 0), std::max(requested.top, 0),
                                std::max(requested.right, 0), std::max(requested.bottom, 0)};
  if (margins.left == 0 && margins.top == 0 && margins.right == 0 && margins.bottom == 0) {
    StretchBlt(target, 0, 0, W, H, src, srcX, srcY, w, h, SRCCOPY);
  } else {
    DrawNineGrid(target, W, H, src, srcX, srcY, w, h, margins);
  }
}

}  // namespace

void ComposeNineGrid(HDC surface, int width, int height, HDC srcDC, const SpriteCell& cell,
                     const NineGridMargins& margins) {
  if (width <= 0 || height <= 0 || cell.width <= 0 || cell.height <= 0) return;
  if (surface == nullptr || srcDC == nullptr) return;
  // BlitNineGrid composes in a new memory DC, whose stretching mode is BLACKONWHITE; the same
  // mode here gives the same pixels whatever the surface's owner set.
  const int previousMode = SetStretchBltMode(surface, BLACKONWHITE);
  DrawCell(surface, width, height, srcDC, cell.x, cell.y, cell.width, cell.height, margins);
  if (previousMode != 0) SetStretchBltMode(surface, previousMode);
}

int BlitNineGrid(HDC destDC, int destX, int destY, int destWidth, int destHeight, HDC srcDC,
                 int srcX, int srcY, int srcWidth, int srcHeight, int marginLeft, int marginTop,
                 int marginRight, int marginBottom, std::optional<COLORREF> keyColour) {
  if (destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) return 0;
  // Without a source the composed surface would hold undefined pixels: draw nothing instead.
  if (destDC == nullptr || srcDC == nullptr) return 0;
  Surface composed(destWidth, destHeight);
  if (!composed) return 0;
  DrawCell(composed.get(), destWidth, destHeight, srcDC, srcX, srcY, srcWidth, srcHeight,
           {marginLeft, marginTop, marginRight, marginBottom});

  if (!keyColour) {
    return BitBlt(destDC, destX, destY, destWidth, destHeight, composed.get(), 0, 0, SRCCOPY);
  }
  BlitTransparent(destDC, destX, destY, destWidth, destHeight, composed.get(), 0, 0, *keyColour);
  return 1;
}

int BlitNineGrid(HDC destDC, int destX, int destY, int destWidth, int destHeight, HDC srcDC,
                 const SpriteCell& cell, const NineGridMargins& margins,
                 std::optional<COLORREF> keyColour) {
  return BlitNineGrid(destDC, destX, destY, destWidth, destHeight, srcDC, cell.x, cell.y,
                      cell.width, cell.height, margins.left, margins.top, margins.right,
                      margins.bottom, keyColour);
}

void BlitTransparent(HDC destDC, int destX, int destY, int width, int height, HDC srcDC, int srcX,
                     int srcY, COLORREF keyColour, HPALETTE palette) {
  if (destDC == nullptr || srcDC == nullptr || width <= 0 || height <= 0) return;
  gdi::DisplayDc display;
  if (!display) return;
  gdi::Palette halftone;
  if (palette == nullptr) {
    halftone.reset(CreateHalftonePalette(display.get()));
    palette = halftone.get();
  }
  const COLORREF key = TranslateKey(keyColour, palette);

  // Every object first, so that a failure leaves the destination untouched.
  gdi::Bitmap backgroundBitmap(CreateCompatibleBitmap(display.get(), width, height));
  gdi::Bitmap spriteBitmap(CreateCompatibleBitmap(display.get(), width, height));
  gdi::Bitmap maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
  gdi::MemoryDc background(display.get());
  gdi::MemoryDc sprite(display.get());
  gdi::MemoryDc mask(display.get());
  if (!backgroundBitmap || !spriteBitmap || !maskBitmap || !background || !sprite || !mask) return;

  // The destination block as it is. A new memory DC has black text and a white background,
  // which the mask below relies on.
  gdi::SelectGuard backgroundSelect(background.get(), backgroundBitmap.get());
  gdi::PaletteGuard backgroundPalette(background.get(), palette, FALSE);
  BitBlt(background.get(), 0, 0, width, height, destDC, destX, destY, SRCCOPY);

  // The source block, in a DC that starts with the source's colours.
  gdi::SelectGuard spriteSelect(sprite.get(), spriteBitmap.get());
  gdi::PaletteGuard spritePalette(sprite.get(), palette, TRUE);
  SetBkColor(sprite.get(), GetBkColor(srcDC));
  SetTextColor(sprite.get(), GetTextColor(srcDC));
  BitBlt(sprite.get(), 0, 0, width, height, srcDC, srcX, srcY, SRCCOPY);

  // Mask: key pixels (those of the background colour) become 1, all others 0.
  gdi::SelectGuard maskSelect(mask.get(), maskBitmap.get());
  SetBkColor(sprite.get(), key);
  SetTextColor(sprite.get(), kWhite);
  BitBlt(mask.get(), 0, 0, width, height, sprite.get(), 0, 0, SRCCOPY);

  // Black out the key pixels of the sprite copy (mask 1 expands to white).
  SetTextColor(sprite.get(), kBlack);
  SetBkColor(sprite.get(), kWhite);
  BitBlt(sprite.get(), 0, 0, width, height, mask.get(), 0, 0, kRopDestAndNotSource);

  // Black out the background where the sprite goes, then fill the holes with the sprite.
  BitBlt(background.get(), 0, 0, width, height, mask.get(), 0, 0, SRCAND);
  BitBlt(background.get(), 0, 0, width, height, sprite.get(), 0, 0, SRCPAINT);

  // The destination is written once, in one block.
  BitBlt(destDC, destX, destY, width, height, background.get(), 0, 0, SRCCOPY);
}

void BlitTransparent(HDC destDC, int destX, int destY, HDC srcDC, const SpriteCell& cell,
                     COLORREF keyColour) {
  BlitTransparent(destDC, destX, destY, cell.width, cell.height, srcDC, cell.x, cell.y, keyColour);
}

}  // namespace skin
