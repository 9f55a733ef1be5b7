#pragma once

// The push-button painter. A skinned push button has four state surfaces ("HDC0".."HDC3"), each
// holding the finished picture of the button in one SkinState; RenderButtonStates draws them,
// PaintButton blends the one of the current state over the button at its fade level.

#include <windows.h>

namespace skin {

// Caption colours: black for normal, hot and pressed, grey blue (#798A96) for disabled.
inline constexpr COLORREF kButtonTextColour = 0x000000;
inline constexpr COLORREF kButtonDisabledTextColour = 0x968A79;

// Caption and focus rectangle sit this many pixels in from every edge (times the sprite factor).
inline constexpr int kButtonTextInset = 2;

// Centred both ways on one line, ending in an ellipsis when too wide; "&" marks the access key.
inline constexpr UINT kButtonTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;

inline constexpr int kButtonCornerEllipse = 3;

// Only push buttons are drawn by the skin: the button types BS_PUSHBUTTON, BS_DEFPUSHBUTTON and
// BS_USERBUTTON. Every other type (check boxes, radio buttons of both kinds, three-state boxes,
// group boxes, buttons that are owner-drawn already) keeps its own drawing and behaviour.
constexpr bool IsSkinDrawnButtonStyle(LONG_PTR style) {
  const LONG_PTR type = style & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_USERBUTTON;
}

// Who brings a new button region to the screen. With Platform, the system redraws the button and
// whatever the cut corners uncover as it sets the region; under Wine it erases the parent, its
// other children and the button there and then, which made up half the cost of an attach. With
// CallerRepaintsButton the region goes on without a redraw: the uncovered corners are invalidated
// in the parent (and in the other windows under them), to be painted with its next paint, and the
// button is left for the caller to repaint, as attach does anyway. The screen ends up the same.
// A button not on the screen gets no redraw either way: showing it paints it and its parent whole.
enum class RegionRedraw { Platform, CallerRepaintsButton };

// Gives the button its rounded window region: corner (0, 0) to (width + 1, height + 1), so it
// reaches one pixel beyond the window to the right and below, with 3 x 3 corner ellipses. At a
// sprite factor k every pixel of that region's corners is a k x k square (and it reaches k pixels
// beyond the window). Where the region cannot be made, the button is left with none.
void SetButtonRegion(HWND button, int width, int height,
                     RegionRedraw redraw = RegionRedraw::Platform);

// The blend of one PaintButton: constant source alpha only, no per-pixel alpha. Levels outside
// 0..255 are clamped.
BLENDFUNCTION ButtonBlend(LONG_PTR fadeLevel);

// True when the button's UI state, as the platform keeps it, hides focus cues (WM_QUERYUISTATE,
// UISF_HIDEFOCUS).
bool UiStateHidesFocusCues(HWND button);

// Keeps the button's focus cues as a WM_UPDATEUISTATE changes its UI state, once the platform
// has applied it: UIS_SET with UISF_HIDEFOCUS hides them, UIS_CLEAR shows them, UIS_INITIALIZE
// takes what the platform chose from the last input. Other elements change nothing here.
void FollowUiStateChange(HWND button, WORD action, WORD elements);

// Renders the four state pictures for the button's current size, caption, font, focus and scale
// into its state surfaces, and notes the scale, font and focus rectangle they were rendered with.
// The focus rectangle is drawn while the button holds the focus, unless its UI state hides focus
// cues (FocusCuesHidden), as the platform's buttons leave it out until the keyboard is used. A
// state whose surface is missing is skipped; nothing is rendered while the sheet of the scale is
// not built.
void RenderButtonStates(HWND button);

// True when the button's scale or font is not the one its state pictures were rendered with.
bool FacesOutOfDate(HWND button);

// True when the state pictures show the focus rectangle and the button's focus and UI state now
// ask for none, or the other way round.
bool FocusBoxOutOfDate(HWND button);

// Blends the state surface of "OLDSTATE" over the whole button with alpha "ALPHALEVEL", into dc
// at its origin or, when dc is nullptr, into the button's window device context. A disabled
// button first gets "OLDSTATE" 3. Draws nothing for a button whose "OLDSTYLE" keeps its own
// drawing. Always returns 0.
int PaintButton(HWND button, HDC dc);

// PaintButton for a caller that has just stored or read "ALPHALEVEL" and passes the level on,
// so that the painter does not read it back. Every property access is a call into the window
// manager (under Wine a round trip to its server), and a repaint should not pay for one twice.
int PaintButtonAtLevel(HWND button, HDC dc, LONG_PTR fadeLevel);

// PaintButtonAtLevel for the paint handler, which has checked "OLDSTYLE" itself before it
// chose to paint: the same drawing without reading the style again.
int PaintSkinDrawnButton(HWND button, HDC dc, LONG_PTR fadeLevel);

}  // namespace skin
