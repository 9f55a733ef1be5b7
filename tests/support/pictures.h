#pragma once

// Reading pixels back from device contexts and saving them as pictures under the test output
// folder, so that a person can look at what a test drew.

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// The pixels of the width x height block at (x, y) of dc, row-major from the top, as COLORREF
// values (0x00BBGGRR). Empty when the block cannot be read.
std::vector<COLORREF> ReadPixels(HDC dc, int x, int y, int width, int height);

// Saves the width x height block at (x, y) of dc, enlarged scale times (each pixel a square of
// scale x scale), as a 24-bit BMP file named fileName in TestOutputDir(). Returns the full path,
// empty on failure.
std::wstring SavePicture(HDC dc, int x, int y, int width, int height, const std::wstring& fileName,
                         int scale = 1);

// Saves pixels as returned by ReadPixels (width x height, row-major) as a BMP file, enlarged.
std::wstring SavePixels(const std::vector<COLORREF>& pixels, int width, int height,
                        const std::wstring& fileName, int scale = 1);

// Saves the whole window, frame included, as it is on the screen now.
std::wstring SaveWindowPicture(HWND window, const std::wstring& fileName, int scale = 1);

// Saves an area of the screen in screen coordinates: a window with the windows over it (a dropped
// list, say), or a window of another process.
std::wstring SaveScreenPicture(const RECT& area, const std::wstring& fileName);

}  // namespace testing_support
