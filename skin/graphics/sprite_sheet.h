#pragma once

// The sprite surfaces every skinned control face is copied from: five surfaces per sheet, drawn
// from the tables in sprite_tables.h with every table pixel repeated factor x factor, one sheet
// per whole factor (sprite_layout.h: SpriteFactorForDpi). This file is the one owner of the
// sheets: only it creates and deletes their surfaces.
//
// A sheet is built on its first use and released with its last: every skinned window holds one
// use of the sheet of the factor it is drawn at (the engine takes it at attach, moves it when the
// window's DPI changes and drops it at detach). BuildSpriteSheet and ReleaseSpriteSheet build and
// release a sheet outside that count, for callers that draw without skinned windows. Every
// thread has sheets of its own: everything here answers for the calling thread's.

#include <windows.h>

namespace skin {

// The five surfaces of one sheet; all nullptr while the sheet is not built.
struct SpriteSheet {
  HDC button = nullptr;
  HDC combo = nullptr;
  HDC glyph = nullptr;
  HDC option = nullptr;
  HDC header = nullptr;
};

// Takes one use of the sheet at the factor (clamped to 1..kMaxSpriteFactor), building it first
// when it is not built. False, taking no use, when the sheet could not be built: a sheet is
// built complete or not at all.
bool UseSpriteSheet(int factor);

// Gives one use back; the last one releases the sheet. Does nothing when the sheet has no use.
void DropSpriteSheet(int factor);

// The sheet at the factor as it is now: empty (all nullptr) while it is not built.
const SpriteSheet& SpriteSheetAt(int factor);

// Uses held of the sheet at the factor.
int SpriteSheetUses(int factor);

// Builds the sheet at the factor: creates ButtonSprite, ComboSprite, GlyphSprite, OptionSprite
// and HeaderSprite (in this order) and fills each from its table in one copy. A sheet of that
// factor that is still built is released first; its uses stay counted. Where a surface cannot be
// made, none is kept and the sheet is not built.
void BuildSpriteSheet(int factor = 1);

// Destroys the surfaces of every sheet, in the order they were created, and forgets their uses.
void ReleaseSpriteSheet();

// True while any sheet is built, from its build until its release.
bool SpriteSheetBuilt();

// The surfaces of the sheet at factor 1; nullptr while it is not built.
HDC ButtonSprite();
HDC ComboSprite();
HDC GlyphSprite();
HDC OptionSprite();
HDC HeaderSprite();

}  // namespace skin
