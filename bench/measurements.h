#pragma once

// The benchmark's measurements. Each adds its rows to the report.

#include <windows.h>

#include <string>

#include "bench/report.h"

namespace bench {

// The DPI the benchmark runs at: the system DPI of its process (scripts/bench.sh runs it once at
// 96 and once at 192 DPI).
int BenchDpi();

// Size of the main window's widest push button at that DPI (3,855 x 375 twips, 257 x 25 pixels
// at 96 DPI), the one every per-button figure uses, and the size as the table names it.
int ButtonWidth();
int ButtonHeight();
std::string ButtonSizeText();

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

// Parts of MeasureSkin, in attach_bench.cpp: the attach of one push button against creating it;
// SkinInstall on the main window against creating it (with no other skinned window, so that the
// sprite sheet is built afresh); the GDI objects and memory of skinned push buttons; the attach
// and detach per control on forms of growing size (with another skinned window keeping the
// sprite sheet alive).
void MeasureAttachOne(Report& report);
void MeasureInstall(Report& report);
void MeasureFootprint(Report& report);
void MeasureScaling(Report& report);

// The program's start-up against a bare platform dialog with the same controls, and where the
// program's own start-up time goes.
void MeasureStartup(Report& report);

// Median time of RedrawWindow (invalidate and update now) of the window.
double MeasureRedraw(HWND window);

}  // namespace bench
