#pragma once

// Helpers shared by the two windows: exact pixel size and centring, the program icon, and the
// fonts of the window-less labels.

#include <windows.h>

#include "win/unique_handle.h"

namespace app {

// Character set of the Chinese user interface in font descriptions (GB2312).
constexpr BYTE kChineseCharset = GB2312_CHARSET;

// The module that holds the program's resources and window classes.
HINSTANCE AppInstance();

// Gives the window a client area of exactly width x height pixels and centres the whole window
// on the primary screen.
void SizeClientAndCentre(HWND window, int width, int height);

// Sets the program's icon as the window's large and small icon.
void SetProgramIcon(HWND window);

// Creates a font for a label: face name, size in tenths of a point at the screen's resolution
// (as the height of a line), weight, underline, in the Chinese character set.
win::Font CreateLabelFont(const wchar_t* face, int tenthsOfPoint, int weight, bool underline);

}  // namespace app
