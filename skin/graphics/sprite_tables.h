#pragma once

// The colour of every pixel of the five sprite surfaces, row-major: [y][x], COLORREF 0x00BBGGRR.
// Key-colour pixels (kKeyColour) are listed like any other.

#include <windows.h>

#include "skin/graphics/sprite_layout.h"

namespace skin {

extern const COLORREF kButtonSpritePixels[kButtonSpriteHeight][kButtonSpriteWidth];
extern const COLORREF kComboSpritePixels[kComboSpriteHeight][kComboSpriteWidth];
extern const COLORREF kGlyphSpritePixels[kGlyphSpriteHeight][kGlyphSpriteWidth];
extern const COLORREF kOptionSpritePixels[kOptionSpriteHeight][kOptionSpriteWidth];
extern const COLORREF kHeaderSpritePixels[kHeaderSpriteHeight][kHeaderSpriteWidth];

}  // namespace skin
