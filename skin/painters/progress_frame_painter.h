#pragma once

// Progress bars drawn entirely by the skin with flat colours, and the thin flat frames that
// framed lists, drop-down lists, grids and windows with a sunken client edge get over what their
// own procedure painted. The bar's fill fraction is its position / 30000 whatever range it was
// given; bars grow from the left, or from the bottom with PBS_VERTICAL.

#include <windows.h>

namespace skin {

// The client area of a progress bar: white with the bar over it. `dc` is a client device
// context (the one from BeginPaint). False, drawing nothing, where its surface cannot be made
// (the process is out of GDI objects); so for the whole window below.
bool PaintProgressClient(HWND bar, HDC dc);

// The whole window of a progress bar through its window device context: a one-pixel frame
// (always the enabled colour) round a white body, with the bar in the client area.
bool PaintProgressWindow(HWND bar);

// Data lists and drop-down lists: the frame colour round the window and a white ring inside it.
void DrawDoubleFrame(HWND window);

// Grids: the frame colour round the window, only when it has WS_BORDER.
void DrawGridFrame(HWND window);

// Every other kind: when the window has WS_EX_CLIENTEDGE, the frame colour round the window and
// the client background over the rest of the sunken edge.
void DrawClientEdgeFrame(HWND window);

}  // namespace skin
