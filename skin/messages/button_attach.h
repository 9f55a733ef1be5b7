#pragma once

// The state a push button carries while it is skinned: four state surfaces of its size (and the
// bitmap in each), its style before the skin made it owner-drawn, the hover flag, the fade timer
// id and level, the state shown, and a rounded window region.

#include <windows.h>

#include "skin/graphics/primitives.h"

namespace skin {

// Puts that state on a push button; the button's row of the family table names it. False, with
// nothing put on, where its state surfaces cannot be made.
bool AttachButton(HWND button);

// Takes it off again and gives the button back its own button type.
void DetachButton(HWND button);

// A fresh bitmap of the window's size for every state surface; the replaced one is deleted. False,
// changing nothing, where the four cannot all be made.
bool ResizeStateSurfaces(HWND button, const WindowBounds& bounds);

}  // namespace skin
