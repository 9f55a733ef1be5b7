#include "tests/support/pointer_input.h"

namespace testing_support {

void MovePointerTo(int x, int y) {
  SetCursorPos(x, y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = (y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
}

void MovePointerOnto(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MovePointerTo((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

}  // namespace testing_support
