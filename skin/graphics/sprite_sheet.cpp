#include "skin/graphics/sprite_sheet.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_tables.h"
#include "skin/graphics/surface.h"

namespace skin {

namespace {

// One sheet and its uses. A sprite's surface is set from its complete build until its release; a
// released sprite reads nullptr, never a stale handle that a later surface may have been given.
struct SheetSlot {
  SpriteSheet surfaces;
  int uses = 0;
};

// The sheets at factors 1, 2 and 3 of the calling thread: the module's sprite surfaces. Each
// user-interface thread that skins windows draws from sheets of its own (a memory DC serves one
// thread at a time), as it keeps all of the skin's state per thread rather than behind a lock.
// Plain values, nothing to destroy as a thread ends: the detach of its last window releases them.
thread_local SheetSlot sheets[kMaxSpriteFactor];

struct SpriteSource {
  Sprites sprite;
  HDC SpriteSheet::*surface;
  const COLORREF* pixels;  // row-major, width x height
  int width;
  int height;
};

// The sprites in the order they are created, filled and destroyed.
const SpriteSource kSprites[] = {
    {Sprites::Button, &SpriteSheet::button, &kButtonSpritePixels[0][0], kButtonSpriteWidth,
     kButtonSpriteHeight},
    {Sprites::Combo, &SpriteSheet::combo, &kComboSpritePixels[0][0], kComboSpriteWidth,
     kComboSpriteHeight},
    {Sprites::Glyph, &SpriteSheet::glyph, &kGlyphSpritePixels[0][0], kGlyphSpriteWidth,
     kGlyphSpriteHeight},
    {Sprites::Option, &SpriteSheet::option, &kOptionSpritePixels[0][0], kOptionSpriteWidth,
     kOptionSpriteHeight},
    {Sprites::Header, &SpriteSheet::header, &kHeaderSpritePixels[0][0], kHeaderSpriteWidth,
     kHeaderSpriteHeight},
};

SheetSlot& SlotOf(int factor) { return sheets[std::clamp(factor, 1, kMaxSpriteFactor) - 1]; }

int FactorOfSlot(const SheetSlot& slot) { return static_cast<int>(&slot - sheets) + 1; }

// A 32-bit DIB pixel holds blue in its lowest byte, a COLORREF red.
uint32_t DibPixel(COLORREF colour) {
  return (uint32_t{GetRValue(colour)} << 16) | (uint32_t{GetGValue(colour)} << 8) |
         GetBValue(colour);
}

// Sets every pixel of the surface in one copy: the table with each pixel repeated factor x
// factor, as a top-down 32-bit DIB. The surface's bitmap takes it in its own format, as it takes
// a colour set pixel by pixel.
void FillFromTable(HDC surface, const SpriteSource& sprite, int factor) {
  if (surface == nullptr) return;
  const int width = sprite.width * factor;
  const int height = sprite.height * factor;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels[static_cast<size_t>(y) * width + x] =
          DibPixel(sprite.pixels[(y / factor) * sprite.width + x / factor]);
    }
  }
  const BITMAPINFO info = TopDownDibInfo(width, height);
  SetDIBitsToDevice(surface, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                    static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
}

bool IsBuilt(const SheetSlot& slot, const SpriteSource& sprite) {
  return slot.surfaces.*sprite.surface != nullptr;
}

// Destroys the sprites of the set that are built, in the table's order.
void DestroySprites(SheetSlot& slot, Sprites which) {
  for (const SpriteSource& sprite : kSprites) {
    if (!Includes(which, sprite.sprite)) continue;
    DestroySurface(slot.surfaces.*sprite.surface);
    slot.surfaces.*sprite.surface = nullptr;
  }
}

// The sprites of the set that are not built.
Sprites MissingSprites(const SheetSlot& slot, Sprites wanted) {
  Sprites missing = Sprites::None;
  for (const SpriteSource& sprite : kSprites) {
    if (Includes(wanted, sprite.sprite) && !IsBuilt(slot, sprite)) missing = missing | sprite.sprite;
  }
  return missing;
}

// Builds the wanted sprites that are not built, complete or not at all: where a surface cannot be
// made (the process is out of GDI objects) the ones this call made go again, so that nothing is
// ever drawn from a sprite that is missing. True when every wanted sprite is built.
bool BuildSprites(SheetSlot& slot, Sprites wanted) {
  const Sprites missing = MissingSprites(slot, wanted);
  if (missing == Sprites::None) return true;
  const int factor = FactorOfSlot(slot);
  gdi::DisplayDc display;
  for (const SpriteSource& sprite : kSprites) {
    if (!Includes(missing, sprite.sprite)) continue;
    HDC surface = CreateSurface(sprite.width * factor, sprite.height * factor, display.get());
    if (surface == nullptr) {
      DestroySprites(slot, missing);
      return false;
    }
    slot.surfaces.*sprite.surface = surface;
  }
  for (const SpriteSource& sprite : kSprites) {
    if (Includes(missing, sprite.sprite)) FillFromTable(slot.surfaces.*sprite.surface, sprite, factor);
  }
  return true;
}

}  // namespace

bool UseSpriteSheet(int factor, Sprites needed) {
  SheetSlot& slot = SlotOf(factor);
  if (!BuildSprites(slot, needed)) return false;
  ++slot.uses;
  return true;
}

void DropSpriteSheet(int factor) {
  SheetSlot& slot = SlotOf(factor);
  if (slot.uses == 0) return;
  if (--slot.uses == 0) DestroySprites(slot, Sprites::All);
}

const SpriteSheet& SpriteSheetAt(int factor) { return SlotOf(factor).surfaces; }

int SpriteSheetUses(int factor) { return SlotOf(factor).uses; }

void BuildSpriteSheet(int factor) {
  SheetSlot& slot = SlotOf(factor);
  // A second build without a release in between replaces the sheet instead of leaking it.
  DestroySprites(slot, Sprites::All);
  BuildSprites(slot, Sprites::All);
}

void ReleaseSpriteSheet() {
  for (SheetSlot& slot : sheets) {
    DestroySprites(slot, Sprites::All);
    slot.uses = 0;
  }
}

bool SpriteSheetBuilt() {
  return std::any_of(std::begin(sheets), std::end(sheets), [](const SheetSlot& slot) {
    return MissingSprites(slot, Sprites::All) != Sprites::All;
  });
}

HDC ButtonSprite() { return SpriteSheetAt(1).button; }
HDC ComboSprite() { return SpriteSheetAt(1).combo; }
HDC GlyphSprite() { return SpriteSheetAt(1).glyph; }
HDC OptionSprite() { return SpriteSheetAt(1).option; }
HDC HeaderSprite() { return SpriteSheetAt(1).header; }

}  // namespace skin
