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

// True when a font family of this name is installed: the system enumerates it in some character
// set.
bool FontFaceInstalled(const wchar_t* face);

// A face that a label asks for, under both names the system may know it by, and the face that
// stands in for it where it is missing.
struct LabelFace {
  const wchar_t* face;
  const wchar_t* otherName;
  const wchar_t* fallback;
};

// The face to create the label's font with: its own where it is installed under either name, else
// the fallback where that is installed, else its own still (the font mapper then picks a stand-in,
// as it would anyway). `installed` answers whether a family of a name is installed.
const wchar_t* ChooseLabelFace(const LabelFace& label,
                               bool (*installed)(const wchar_t* face) = FontFaceInstalled);

// Creates a font for a label: face name, size in tenths of a point at the DPI (as the height of
// a line), weight, underline, in the Chinese character set.
win::Font CreateLabelFont(const wchar_t* face, int tenthsOfPoint, int weight, bool underline,
                          int dpi);

// Creates the font of the frame and the command buttons at the DPI: the windows' default font,
// 9 point SimSun as the dialog templates name it, sized as the dialog manager sizes it.
win::Font CreateCommandFont(int dpi);

}  // namespace app
