#pragma once

// Running the built program at a display scale: the test prefix's system DPI (LogPixels under
// HKCU\Control Panel\Desktop, which a process reads when it starts) is set for the program's
// start and put back afterwards, whatever happens in between.

#include <windows.h>

#include <functional>

#include "tests/support/running_program.h"

namespace testing_support {

// Sends an in-process window a change of DPI as the system does: it asks for the size at the new
// DPI, then suggests a rectangle of that size at the window's place. Returns that rectangle.
RECT SendDpiChange(HWND window, int dpi);

// Starts the program at the DPI, waits for its main window and hands both to `check`. The
// system DPI is put back as soon as the program has started; the program ends when `check`
// returns (or fails).
void RunProgramAtDpi(int dpi, const std::function<void(RunningProgram& program, HWND form)>& check);

}  // namespace testing_support
