#pragma once

// Small pieces of hover and press tracking shared by the handlers of check boxes, option
// buttons, combo boxes, drive lists and headers.

#include <windows.h>

namespace skin {

// The first move over a control: "MOUSEFLAG" goes from 0 to 1 and one WM_MOUSELEAVE is
// requested. Later moves change nothing until the leave notification has reset the flag.
// A move that arrives while the pointer is not over the window (late, or sent) arms nothing, since
// no leave notification would ever come for it: the result is then false and the caller shows the
// normal state, so that a hot look never sticks. True while the pointer is known to be inside.
bool ArmLeaveTracking(HWND window);

// Clears "MOUSEFLAG" when the pointer has left, so the next move requests a new notification.
void DisarmLeaveTracking(HWND window);

// MK_LBUTTON in the wParam of a mouse message.
inline bool LeftButtonHeld(WPARAM wParam) { return (wParam & MK_LBUTTON) != 0; }

// Whether the window under the cursor, as the platform finds it now, is `window` itself (a
// child window such as the edit field of a combo box does not count).
bool CursorIsOver(HWND window);

}  // namespace skin
