#include "bench/startup_programs.h"

#include <windows.h>

namespace bench {

std::wstring StrippedCopy(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  return folder + L"startup\\" + name;
}

void ParkPointer() {
  // Wine's server may already hold (0, 0) as the pointer's place while the X server's pointer is
  // elsewhere (a new display puts it in the screen's middle); a move to where the server thinks
  // the pointer is changes nothing, so the pointer goes through another point first.
  SetCursorPos(1, 1);
  SetCursorPos(0, 0);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

}  // namespace bench
