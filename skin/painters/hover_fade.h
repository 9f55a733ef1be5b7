#pragma once

// Hover tracking and the push-button fade. The fade blends the picture of the button's new state
// over what it shows, once per tick of a 15 ms window timer, with a constant alpha that grows
// by 3 until it has blended at 255.

#include <windows.h>

namespace skin {

inline constexpr UINT_PTR kFadeTimerId = 1;
inline constexpr UINT kFadeTimerPeriodMs = 15;
inline constexpr LONG_PTR kFadeStep = 3;
inline constexpr LONG_PTR kFadeFullLevel = 255;

// The level after a blend at `level`: 3 higher, or 0 once that passes 255 (the fade is over).
constexpr LONG_PTR NextFadeLevel(LONG_PTR level) {
  return level + kFadeStep > kFadeFullLevel ? 0 : level + kFadeStep;
}

// Asks for one WM_MOUSELEAVE when the pointer leaves the window: through user32's
// TrackMouseEvent when it exists (HasUserTrackMouseEvent), else comctl32's _TrackMouseEvent.
void TrackMouseLeave(HWND window);

// The same with the choice made by the caller.
void TrackMouseLeaveWith(HWND window, bool useUser32);

// Starts the window's fade timer and stores its id under "TIMERID". While one runs, returns 0
// and changes nothing: the running timer picks up whatever state and level the caller stored.
UINT_PTR StartFadeTimer(HWND window);

// Kills the window's fade timer and sets "TIMERID" to 0; returns KillTimer's result, or 0 when
// no timer ran.
BOOL StopFadeTimer(HWND window);

// One tick: blend the face of "OLDSTATE" at "ALPHALEVEL", then raise the level, stopping the
// timer and resetting the level to 0 once the blend at 255 is done.
void RunFadeStep(HWND button);

}  // namespace skin
