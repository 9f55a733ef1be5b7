#pragma once

// A group frame of the program's own window class: an etched rectangle with a coloured caption
// set into its top edge. It is a control parent, so Tab moves through the controls inside it,
// and it passes the commands and notifications of those controls on to its own parent. Its class
// name is one that the skin does not treat as any kind of control, so the skin leaves its
// painting alone.

#include <windows.h>

namespace app {

inline constexpr wchar_t kFrameClassName[] = L"MorvaneGroupFrame";

// Registers the window class once per process; later calls do nothing.
void RegisterFrameClass();

// Creates a frame as a child of `parent` at the given client rectangle, laid out at 96 DPI.
HWND CreateFrame(HWND parent, int id, const wchar_t* caption, const RECT& rect,
                 COLORREF captionColour);

// The DPI the frame places its caption at; the frame repaints.
void SetFrameDpi(HWND frame, int dpi);

// Draws the frame's etched edge around `rect`: a shadow line and a highlight line inside it, as
// DrawEdge draws EDGE_ETCHED, with every line `lineWidth` pixels wide. At a whole factor k of the
// DPI, the edge is the one of 96 DPI with every pixel a k x k square.
void DrawEtchedEdge(HDC dc, const RECT& rect, int lineWidth);

// Horizontal position of the caption inside the frame, and the gap kept clear on each side of
// it, in twips (8 and 2 pixels at 96 DPI).
constexpr int kFrameCaptionIndentTwips = 120;
constexpr int kFrameCaptionGapTwips = 30;

}  // namespace app
