#pragma once

// The five module-wide sprite surfaces every skinned control face is copied from. They are
// drawn pixel by pixel from the tables in sprite_tables.h by BuildSpriteSheet and released by
// ReleaseSpriteSheet; nothing else creates or deletes them.

#include <windows.h>

namespace skin {

// Creates ButtonSprite, ComboSprite, GlyphSprite, OptionSprite and HeaderSprite (in this order)
// and sets each of their 2146 pixels once with SetPixel from the tables. A sheet that is still
// built is released first.
void BuildSpriteSheet();

// Destroys the five surfaces in the order they were created.
void ReleaseSpriteSheet();

// True from a build until the release that follows it.
bool SpriteSheetBuilt();

// Read access to the sprite surfaces; nullptr before the first build and after a release.
HDC ButtonSprite();
HDC ComboSprite();
HDC GlyphSprite();
HDC OptionSprite();
HDC HeaderSprite();

}  // namespace skin
