#pragma once

// What must hold for every window of the test thread at any moment between two messages,
// whatever reached the skin before: a window carries "PROCADDR" exactly while its procedure is
// SkinWindowProc, "OLDSTATE" is a SkinState, "ALPHALEVEL" a fade level, "TIMERID" is non-zero
// exactly while the fade timer runs, a skinned push button has its four state surfaces, each
// holding the bitmap named beside it, a window without the skin carries no skin property at all,
// and the skin's store answers every key as the window carries it.

#include <windows.h>

#include <string>

#include "tests/skin/skin_test_windows.h"

namespace reliability {

using skin_tests::kSkinnedWindowsOfTestForm;
using skin_tests::ThreadWindows;
using skin_tests::WindowTree;

// Whether the window's fade timer runs. Asking kills the timer; a running one is started again
// at once with the same id and period.
bool FadeTimerRuns(HWND window);

// The invariants broken by one window, one line each; empty when all hold.
std::string InvariantFaults(HWND window);

// The same for every window of the thread, plus the count of skinned windows against the
// engine's own count.
std::string ThreadInvariantFaults();

}  // namespace reliability
