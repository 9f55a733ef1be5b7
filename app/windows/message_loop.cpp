#include "app/windows/message_loop.h"

#include <windows.h>

#include "app/windows/instructions_window.h"
#include "app/windows/main_window.h"

namespace app {

bool AnyFormLoaded() { return form1::Window() != nullptr || form2::Window() != nullptr; }

int RunMessageLoop() {
  MSG message{};
  while (AnyFormLoaded()) {
    const BOOL result = GetMessageW(&message, nullptr, 0, 0);
    if (result == 0) return static_cast<int>(message.wParam);  // WM_QUIT
    if (result == -1) return 1;
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && IsDialogMessageW(root, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace app
