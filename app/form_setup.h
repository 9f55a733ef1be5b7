#pragma once

// Helpers shared by the two windows: exact client size at a DPI, centring, the program icon, and
// the fonts of the labels and commands at a DPI.

#include <windows.h>

#include "win/unique_handle.h"

namespace app {

// Character set of the Chinese user interface in font descriptions (GB2312).
constexpr BYTE kChineseCharset = GB2312_CHARSET;

// The module that holds the program's resources and window classes.
HINSTANCE AppInstance();

// The size of the window whose client area is `client` pixels, with its frame at the DPI.
SIZE WindowSizeForClient(HWND window, SIZE client, int dpi);

// Gives the window a client area of exactly `client` pixels, its frame measured at the DPI, and
// centres the whole window on the primary screen.
void SizeClientAndCentre(HWND window, SIZE client, int dpi);

// Puts the window into the rectangle the system suggests for a new DPI (screen coordinates), then
// makes its client area exactly `client` pixels, keeping the top left corner.
void PlaceInSuggestedRect(HWND window, const RECT& suggested, SIZE client);

// The program's icon at the size the system gives the metric (SM_CXICON for a window's big icon,
// SM_CXSMICON for its small one) at the DPI; none when it cannot be loaded.
win::Icon LoadProgramIcon(int sizeMetric, int dpi);

// Creates a font for a label: face name, size in tenths of a point at the DPI (as the height of
// a line), weight, underline, in the Chinese character set.
win::Font CreateLabelFont(const wchar_t* face, int tenthsOfPoint, int weight, bool underline,
                          int dpi);

// Creates the font of the frame and the command buttons at the DPI: the windows' default font,
// 9 point SimSun as the dialog templates name it, sized as the dialog manager sizes it.
win::Font CreateCommandFont(int dpi);

}  // namespace app
