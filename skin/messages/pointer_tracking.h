#pragma once

// Hover and press tracking shared by the handlers of push buttons, check boxes, option buttons,
// combo boxes, drive lists and headers.

#include <windows.h>

namespace skin {

// Whether user32 exports TrackMouseEvent; the engine sets it each time it builds the sprite
// sheet. Module state of the skin, kept per thread.
bool HasUserTrackMouseEvent();
void SetHasUserTrackMouseEvent(bool exported);

// Asks for one WM_MOUSELEAVE when the pointer leaves the window: through user32's
// TrackMouseEvent when it exists (HasUserTrackMouseEvent), else comctl32's _TrackMouseEvent,
// looked up only then, from the system directory.
void TrackMouseLeave(HWND window);

// The same with the choice made by the caller.
void TrackMouseLeaveWith(HWND window, bool useUser32);

// The state of a control that shows whether the pointer is over it (check boxes, option buttons,
// combo boxes, drive lists): "MOUSEFLAG" 0 and "OLDSTATE" normal as the skin attaches it; both
// go as it is detached. The attach makes no GDI object and always succeeds.
bool AttachHoverState(HWND window);
void DetachHoverState(HWND window);

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
