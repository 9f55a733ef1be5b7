#pragma once

// The benchmark's measurements. Each adds its rows to the report.

#include <windows.h>

#include "bench/report.h"

namespace bench {

// Size of the main window's widest push button, the one every per-button figure uses.
inline constexpr int kButtonWidth = 257;
inline constexpr int kButtonHeight = 25;

// What the platform's own controls and calls cost; the skinned figures are set against these.
struct PlatformFigures {
  double nativePrintClientUs = 0;  // a push button drawing itself into a memory DC
  double alphaBlendUs = 0;         // AlphaBlend of one button's block at constant alpha 255
  double bitBltUs = 0;             // BitBlt of the same block
  double nativeRedrawUs = 0;       // RedrawWindow (invalidate and update) of a push button
  double form1ShowUs = 0;          // loading and showing the main window, skin included
};

PlatformFigures MeasurePlatform(Report& report);

// The skin's figures, set against the platform's.
void MeasureSkin(Report& report, const PlatformFigures& platform);

// Median time of RedrawWindow (invalidate and update now) of the window.
double MeasureRedraw(HWND window);

}  // namespace bench
