#pragma once

// The 15 ms window timer that drives a push button's fade (skin/painters/hover_fade.h).

#include <windows.h>

namespace skin {

inline constexpr UINT_PTR kFadeTimerId = 1;
inline constexpr UINT kFadeTimerPeriodMs = 15;

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
