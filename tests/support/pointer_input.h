#pragma once

// Real pointer input for tests of hover behaviour: the move goes through the system's input queue,
// as a user's mouse does, so that hover tracking and tooltips see it.

#include <windows.h>

namespace testing_support {

// Moves the pointer to the screen point (x, y).
void MovePointerTo(int x, int y);

// Moves the pointer to the centre of the window.
void MovePointerOnto(HWND window);

}  // namespace testing_support
