#include <windows.h>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/message_loop.h"
#include "win/accessible_base.h"
#include "win/dll_search.h"

// With a switch the program works for a script and ends without a window (see command_line.h).
// Without one it loads and shows the main window and runs until the last of its windows is
// unloaded.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // First, before anything can load a DLL: one left beside the program must never be taken.
  win::RestrictDllSearchToSystem();
  const app::CommandSwitch commandSwitch = app::ParseCommandLine(GetCommandLineW());
  if (commandSwitch != app::CommandSwitch::kNone) return app::RunCommandSwitch(commandSwitch);
  // The windows hand their accessible objects to screen readers in other processes.
  const win::ThreadApartment apartment;
  if (app::form1::Show() == nullptr) return 1;
  return app::RunMessageLoop();
}
