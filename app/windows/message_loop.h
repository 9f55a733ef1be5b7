#pragma once

namespace app {

// True while the main window or the instructions window is loaded.
bool AnyFormLoaded();

// Runs the program's message loop, with the dialog keyboard interface (Tab, Enter, arrows) for
// the two windows, until neither of them is loaded. Returns the program's exit code.
int RunMessageLoop();

}  // namespace app
