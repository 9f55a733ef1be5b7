#pragma once

// Real keyboard input for tests of keyboard behaviour: keys go through the system's input queue
// to the focus window of the foreground thread, as a user's keys do.

#include <windows.h>

namespace testing_support {

// Presses and releases the key, with the modifier (VK_SHIFT, VK_CONTROL, ...) held when given.
void PressKey(WORD key, WORD modifier = 0);

}  // namespace testing_support
