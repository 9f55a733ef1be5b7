#pragma once

// The face of skinned combo boxes and drive lists: the flat frame round the window and the drop
// button at its right edge. The controls keep their own window procedure for the text and the
// list.

#include <windows.h>

#include "skin/core/skin_state.h"

namespace skin {

// Draws the drop button (one pixel in from the right, top and bottom edges, SM_CXVSCROLL + 1
// wide) in the look of `state`: plain white when normal, the light sprite face when hot, the
// darker one when pressed; each with the enabled or the disabled arrow. `dc` has its origin at
// the window's top-left corner; with nullptr the painter uses the whole-window device context.
//
// While the list is dropped down the button is always drawn pressed and `state` is set to
// SkinState::Pressed. A call for the state stored under "OLDSTATE" draws nothing unless forced;
// otherwise the drawn state is stored. A combo box without a drop button (CBS_SIMPLE) gets
// nothing, and its "OLDSTATE" is left as it was; so does one whose button cannot be drawn (a GDI
// object it needs cannot be made).
void PaintComboButton(HWND window, HDC dc, SkinState& state, bool force);

// How the frame of a combo box is drawn before its button.
enum class ComboFrameStyle {
  // Editable combo boxes are painted by the skin alone: white body inside the frame.
  FilledBody,
  // Every other combo box and drive list keeps what its own procedure drew inside a white ring.
  WhiteRing,
};

// Frames the whole window (pale when disabled) in `dc` and then repaints the drop button in the
// stored state with force (pressed while the list is dropped down). False, drawing nothing, where
// the button cannot be drawn (a GDI object it needs cannot be made).
bool PaintComboFace(HWND window, HDC dc, ComboFrameStyle style);

}  // namespace skin
