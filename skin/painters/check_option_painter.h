#pragma once

// The marks of skinned check boxes and option buttons. The controls keep their own window
// procedure, which paints the background and caption; these painters then cover the mark at
// the left edge of the control, through its whole-window device context. The mark is
// SM_CXMENUCHECK x SM_CYMENUCHECK, at x 0, centred vertically in the window rectangle.
//
// Both store the state they draw under "OLDSTATE" and skip a call that asks for the state
// already stored unless `force` is set (a click changes the check mark without changing the
// state, so the handlers force the repaints that must pick the new mark up). Both return 1 when
// they drew and 0 when they skipped, also where a GDI object they draw with cannot be made; the
// state is then not stored.

#include <windows.h>

#include "skin/core/skin_state.h"

namespace skin {

// A square box composed off-screen and copied opaquely: white inside, a blue frame (darker while
// pressed), a tinted inside while hot or pressed, and the check mark (BST_CHECKED) or the
// indeterminate square (BST_INDETERMINATE). A disabled box has a pale frame, a white inside in
// every state and the pale glyphs.
int PaintCheckBox(HWND window, SkinState state, bool force);

// A round mark drawn straight onto the window with its corners transparent: the circle of the
// state (normal, hot, pressed; the disabled circle whenever the control is disabled) and the
// dot when the button is selected.
int PaintOptionBox(HWND window, SkinState state, bool force);

}  // namespace skin
