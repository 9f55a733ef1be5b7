// Loads each DLL named on its command line as a careless program would: by bare name, so that the
// standard search, the program's own folder first, finds it. The exit code is how many it loaded.
// With no names it loads nothing, and what it then holds is what the platform loads into every
// program with user32 (which shell32 brings, as into every windowed program).

#include <windows.h>

#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return -1;
  int loaded = 0;
  for (int i = 1; i < count; ++i) {
    if (LoadLibraryW(arguments[i]) != nullptr) ++loaded;  // kept until the process ends
  }
  LocalFree(arguments);
  return loaded;
}
