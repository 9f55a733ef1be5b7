#pragma once

// Display scale: the DPI a window is drawn at, and device-independent units turned into pixels
// at that DPI. Layout is given in twips (1,440 to the inch) and fonts in points; both become
// pixels here, with the one rounding rule of win/rounding.h.

#include <windows.h>

#include "win/module_function.h"
#include "win/rounding.h"
#include "win/unique_handle.h"

namespace win {

// The DPI at which the system draws nothing scaled: 100 %.
inline constexpr int kDefaultDpi = 96;

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTenthsOfPointPerInch = 720;

// Twips at the DPI, to the nearest pixel (a half going to the even neighbour). At 96 DPI every
// multiple of 15 twips is that many whole pixels.
inline int TwipsToPixels(int twips, int dpi) {
  return RoundHalfToEven(static_cast<double>(twips) * dpi / kTwipsPerInch);
}

// A font size in tenths of a point at the DPI, to the nearest pixel by the same rule: 12 point is
// 16 pixels at 96 DPI and 24 at 144.
inline int TenthsOfPointToPixels(int tenthsOfPoint, int dpi) {
  return RoundHalfToEven(static_cast<double>(tenthsOfPoint) * dpi / kTenthsOfPointPerInch);
}

// The whole factor at which a drawing made of pixels at 96 DPI (one-pixel lines, sprite pictures)
// is drawn at the DPI, every pixel repeated factor x factor so that it stays crisp: 1 below 175 %
// (168 DPI), 2 below 275 % (264 DPI), 3 from there on.
constexpr int WholeFactorForDpi(int dpi) {
  if (dpi >= 264) return 3;
  if (dpi >= 168) return 2;
  return 1;
}

// A user32 function that older systems lack, looked up at run time; nullptr where it is missing.
// user32 is always loaded in a program with windows, so nothing is loaded for the look-up.
template <typename Function>
Function User32Function(const char* name) {
  return LoadedModuleFunction<Function>(L"user32.dll", name);
}

// The screen's LOGPIXELSY: the system DPI of a process that is DPI-aware; 96 when it cannot be
// read.
inline int ScreenDpi() {
  const WindowDc screen(nullptr, WindowDc::Area::Client);
  if (!screen) return kDefaultDpi;
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  return dpi > 0 ? dpi : kDefaultDpi;
}

// The DPI of the window as the platform gives it: GetDpiForWindow where user32 has it, else the
// screen's. A null window or a failed query gives the screen's DPI.
inline int WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static_assert(sizeof(GetDpiForWindowFunction) == sizeof(void*));
  if (window != nullptr) {
    if (const auto getDpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow")) {
      if (const UINT dpi = getDpi(window); dpi > 0) return static_cast<int>(dpi);
    }
  }
  return ScreenDpi();
}

// Turns the client rectangle `rect` into the window rectangle that holds it, for a window of the
// given styles at the DPI: AdjustWindowRectExForDpi where user32 has it, else AdjustWindowRectEx
// (which measures the frame at the system DPI).
inline void AdjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi) {
  using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  if (const auto adjust = User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi")) {
    if (adjust(rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) return;
  }
  AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

}  // namespace win
