#pragma once

// The two commands of the main window that switch Internet Explorer's inline images on
// (Command2) and off (Command3) through a registry payload.

#include <windows.h>

namespace app::form1 {

// Set "Display Inline Images" to "yes" / "no", then tell the user whether it worked. form is
// the main window, the owner of the boxes shown; it stays disabled while the registry editor
// runs. A click that arrives while either command is still at work is ignored.
void Command2_Click(HWND form);
void Command3_Click(HWND form);

}  // namespace app::form1
