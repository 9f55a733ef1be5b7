// A stand-in for a system DLL that a web page could leave in a Downloads folder. When a process
// loads it, it creates the empty file "<its own path>.loaded" (msimg32.dll.loaded beside
// msimg32.dll), so a test sees afterwards that the process took it instead of the system's copy.
// Its .def file forwards the functions of the system DLL that a process may need of it, so that a
// process that loads it still starts and the file gets written.

#include <windows.h>

#include "win/unique_handle.h"

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  DisableThreadLibraryCalls(self);
  constexpr wchar_t kSuffix[] = L".loaded";
  wchar_t marker[MAX_PATH + sizeof kSuffix / sizeof kSuffix[0]] = {};
  const DWORD length = GetModuleFileNameW(self, marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  lstrcpyW(marker + length, kSuffix);
  win::KernelHandle file(CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  return TRUE;
}
