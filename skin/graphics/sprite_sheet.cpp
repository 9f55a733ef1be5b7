#include "skin/graphics/sprite_sheet.h"

#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/sprite_tables.h"
#include "skin/graphics/surface.h"

namespace skin {

namespace {

// True from the start of a build until the release, even where a surface could not be made.
bool built = false;

// The module-level slots of the five sprite surfaces. Only BuildSpriteSheet creates what they
// hold and only the sheet's own release destroys it. A released slot reads nullptr, never a
// stale handle that a later surface may have been given.
HDC buttonSprite = nullptr;
HDC comboSprite = nullptr;
HDC glyphSprite = nullptr;
HDC optionSprite = nullptr;
HDC headerSprite = nullptr;

struct SpriteSource {
  HDC* slot;
  const COLORREF* pixels;  // row-major, width x height
  int width;
  int height;
};

// The sprites in the order they are created, filled and destroyed.
const SpriteSource kSprites[] = {
    {&buttonSprite, &kButtonSpritePixels[0][0], kButtonSpriteWidth, kButtonSpriteHeight},
    {&comboSprite, &kComboSpritePixels[0][0], kComboSpriteWidth, kComboSpriteHeight},
    {&glyphSprite, &kGlyphSpritePixels[0][0], kGlyphSpriteWidth, kGlyphSpriteHeight},
    {&optionSprite, &kOptionSpritePixels[0][0], kOptionSpriteWidth, kOptionSpriteHeight},
    {&headerSprite, &kHeaderSpritePixels[0][0], kHeaderSpriteWidth, kHeaderSpriteHeight},
};

void FillFromTable(const SpriteSource& sprite) {
  for (int y = 0; y < sprite.height; ++y) {
    for (int x = 0; x < sprite.width; ++x) {
      SetPixel(*sprite.slot, x, y, sprite.pixels[y * sprite.width + x]);
    }
  }
}

void DestroySprites() {
  for (const SpriteSource& sprite : kSprites) {
    DestroySurface(*sprite.slot);
    *sprite.slot = nullptr;
  }
}

}  // namespace

void BuildSpriteSheet() {
  built = true;
  // A second build without a release in between replaces the sheet instead of leaking it.
  DestroySprites();
  {
    gdi::DisplayDc display;
    for (const SpriteSource& sprite : kSprites) {
      *sprite.slot = CreateSurface(sprite.width, sprite.height, display.get());
    }
  }
  // SetPixel on a surface that could not be made does nothing.
  for (const SpriteSource& sprite : kSprites) FillFromTable(sprite);
}

void ReleaseSpriteSheet() {
  DestroySprites();
  built = false;
}

bool SpriteSheetBuilt() { return built; }

HDC ButtonSprite() { return buttonSprite; }
HDC ComboSprite() { return comboSprite; }
HDC GlyphSprite() { return glyphSprite; }
HDC OptionSprite() { return optionSprite; }
HDC HeaderSprite() { return headerSprite; }

}  // namespace skin
