#include <windows.h>

#include "app/main_window.h"
#include "app/message_loop.h"

// The program has no start-up work of its own: it loads and shows the main window and runs
// until the last of its windows is unloaded.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  if (app::form1::Show() == nullptr) return 1;
  return app::RunMessageLoop();
}
