#pragma once

// The sprite surfaces every skinned control face is copied from: five surfaces per sheet, drawn
// from the tables in sprite_tables.h with every table pixel repeated factor x factor, one sheet
// per whole factor (sprite_layout.h: SpriteFactorForDpi). This file is the one owner of the
// sheets: only it creates and deletes their surfaces.
//
// A sheet's sprites are built as its uses first need them, and released with its last use: every
// skinned window holds one use of the sheet of the factor it is drawn at, asking for the sprites
// its family draws from (the engine takes the use at attach, moves it when the window's DPI
// changes and drops it at detach). So a window of push buttons makes the button sprite alone.
// BuildSpriteSheet and ReleaseSpriteSheet build and release all five outside that count, for
// callers that draw without skinned windows. Every thread has sheets of its own: everything here
// answers for the calling thread's.

#include <windows.h>

namespace skin {

// Which of a sheet's five sprites a caller draws from.
enum class Sprites : unsigned {
  None = 0,
  Button = 1u << 0,
  Combo = 1u << 1,
  Glyph = 1u << 2,
  Option = 1u << 3,
  Header = 1u << 4,
  All = (1u << 5) - 1,
};

constexpr Sprites operator|(Sprites a, Sprites b) {
  return static_cast<Sprites>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

constexpr bool Includes(Sprites set, Sprites sprite) {
  return (static_cast<unsigned>(set) & static_cast<unsigned>(sprite)) != 0;
}

// The five surfaces of one sheet; nullptr for a sprite that is not built.
struct SpriteSheet {
  HDC button = nullptr;
  HDC combo = nullptr;
  HDC glyph = nullptr;
  HDC option = nullptr;
  HDC header = nullptr;
};

// Takes one use of the sheet at the factor (clamped to 1..kMaxSpriteFactor), first building those
// of the `needed` sprites that are not built. False, taking no use and keeping no sprite it made,
// when one of them could not be built: a use always finds every sprite it asked for.
bool UseSpriteSheet(int factor, Sprites needed = Sprites::All);

// Gives one use back; the last one releases the sheet. Does nothing when the sheet has no use.
void DropSpriteSheet(int factor);

// The sheet at the factor as it is now: nullptr for each sprite that is not built.
const SpriteSheet& SpriteSheetAt(int factor);

// Uses held of the sheet at the factor.
int SpriteSheetUses(int factor);

// Builds the whole sheet at the factor: creates ButtonSprite, ComboSprite, GlyphSprite,
// OptionSprite and HeaderSprite (in this order) and fills each from its table in one copy. The
// sprites of that factor that are still built are released first; its uses stay counted. Where a
// surface cannot be made, none is kept and the sheet is not built.
void BuildSpriteSheet(int factor = 1);

// Destroys the sprites of every sheet, in the order of the list above, and forgets their uses.
void ReleaseSpriteSheet();

// True while any sprite of any sheet is built, from its build until its release.
bool SpriteSheetBuilt();

// The surfaces of the sheet at factor 1; nullptr while it is not built.
HDC ButtonSprite();
HDC ComboSprite();
HDC GlyphSprite();
HDC OptionSprite();
HDC HeaderSprite();

}  // namespace skin
