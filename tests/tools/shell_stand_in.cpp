// Stands in for the Windows shell in the shell-restart tests: a process with one visible window,
// captioned with its command line's argument, that runs until it is ended. The tests hand its
// window to the restart in place of the session's shell window, so that the prefix's own
// desktop process is never the one ended.

#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"MorvaneShellStandIn";

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR caption, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = StandInProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  if (RegisterClassW(&windowClass) == 0) return 1;
  if (CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, caption, WS_POPUP | WS_VISIBLE, 0, 0, 40, 40,
                      nullptr, nullptr, instance, nullptr) == nullptr) {
    return 1;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
