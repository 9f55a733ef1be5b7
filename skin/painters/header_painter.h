#pragma once

// Faces of skinned header items, cut from the header sprite: one item at a time as the pointer
// moves over it, presses it and leaves, and the whole strip on a full repaint.

#include <windows.h>

#include <string>

#include "skin/core/skin_state.h"

namespace skin {

// The text of header item `index`, at most 255 characters; empty when there is none.
std::wstring HeaderItemText(HWND header, int index);

// Draws item `index` in `state` (hot, pressed, anything else normal) with its text centred over
// the header's full height, then copies the top rows of the face, as high as the item, to the
// item's place. `dc` has its origin at the header's top-left corner; with nullptr the painter
// uses the whole-window device context. A negative index draws nothing, and so does a face that
// cannot be composed (the process is out of GDI objects). Returns 0.
int PaintHeaderItem(HWND header, HDC dc, int index, SkinState state);

// Draws the whole strip into `dc`: the stretched background column, then every item in the
// look given by "HDINDEX" (pressed, which wins) and "HMINDEX" (hot), composed off-screen and
// copied at once. False, drawing nothing, where the strip's surface cannot be made.
bool PaintHeaderStrip(HWND header, HDC dc);

}  // namespace skin
