#include <windows.h>

#include "accessible/thread_apartment.h"
#include "app/switches/command_line.h"
#include "app/windows/main_window.h"
#include "app/windows/message_loop.h"
#include "app/windows/startup_stages.h"
#include "win/dll_search.h"

// With a switch the program works for a script and ends without a window (see
// app/switches/command_line.h). Without one it loads and shows the main window and runs until the
// last of its windows is unloaded.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  app::MarkStartupStage(app::StartupStage::kFirstLine);
  // First, before anything can load a DLL: one left beside the program must never be taken.
  win::RestrictDllSearchToSystem();
  const app::CommandSwitch commandSwitch = app::ParseCommandLine(GetCommandLineW());
  if (commandSwitch != app::CommandSwitch::kNone) return app::RunCommandSwitch(commandSwitch);
  // The windows hand their accessible objects to screen readers in other processes.
  const accessible::ThreadApartment apartment;
  app::MarkStartupStage(app::StartupStage::kApartment);
  if (app::form1::Show() == nullptr) return 1;
  app::MarkStartupStage(app::StartupStage::kShown);
  return app::RunMessageLoop();
}
