#pragma once

// Small drawing operations and window metrics shared by the painters and message handlers.
// Rectangles are x, y, width, height. Nothing here selects into the DC it is given or changes
// its colours, mode or font (beyond what DrawTextW and DrawFocusRect themselves do).

#include <windows.h>

#include <string>

namespace skin {

// A window's rectangle in screen coordinates, frame included, with its size.
struct WindowBounds {
  int left;
  int top;
  int right;
  int bottom;
  int width;   // right - left
  int height;  // bottom - top
};

// The window's text, read through GetWindowTextW (empty when it has none).
std::wstring GetWindowCaption(HWND hwnd);

// DrawTextW of the NUL-terminated text into the rectangle with the caller's DT_ flags;
// returns DrawTextW's result.
int DrawTextBox(HDC hdc, const std::wstring& text, int x, int y, int width, int height,
                UINT format);

// Fills the rectangle with a solid colour; returns FillRect's result.
int FillSolid(HDC hdc, int x, int y, int width, int height, COLORREF colour);

// A one-pixel solid frame along the inside of the rectangle; returns FrameRect's result.
int FrameSolid(HDC hdc, int x, int y, int width, int height, COLORREF colour);

// The dotted XOR focus frame (drawing it twice removes it); returns DrawFocusRect's result.
int DrawFocusBox(HDC hdc, int x, int y, int width, int height);

// Fills bounds from GetWindowRect; returns GetWindowRect's result.
int GetWindowBounds(HWND hwnd, WindowBounds& bounds);

// Thickness of the window's border on one side: half of (window size - client size - scroll
// bar), rounded to the nearest integer with halves going to the even neighbour. Always 1.
int GetBorderInsets(HWND hwnd, int& insetX, int& insetY);

// A system metric (a GetSystemMetrics index) at the DPI: GetSystemMetricsForDpi where user32 has
// it, else the metric at the system DPI scaled to this one.
int GetSystemMetricForDpi(int index, int dpi);

// Bits 0..15 and 16..31 of a message parameter as signed 16-bit numbers, so that packed mouse
// coordinates keep their sign.
constexpr short LowWord(LONG_PTR value) {
  return static_cast<short>(static_cast<unsigned short>(value & 0xFFFF));
}
constexpr short HighWord(LONG_PTR value) {
  return static_cast<short>(static_cast<unsigned short>((value >> 16) & 0xFFFF));
}

}  // namespace skin
