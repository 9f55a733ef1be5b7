#include "app/system/message_wait.h"

#include <algorithm>

namespace app {
namespace {

// Dispatches one message of the thread, if there is one, and keeps the scope's window disabled.
// False when it met WM_QUIT, which it posts again for the outer loop.
bool DispatchOneMessage(const DisabledWindowScope& disabled) {
  MSG message;
  if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return true;
  if (message.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(message.wParam));
    return false;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
  disabled.Hold();
  return true;
}

}  // namespace

DisabledWindowScope::DisabledWindowScope(HWND window)
    : window_(window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr),
      focus_(GetFocus()),
      disabled_(window_ != nullptr && EnableWindow(window_, FALSE) == FALSE) {}

DisabledWindowScope::~DisabledWindowScope() {
  if (!disabled_ || !IsWindow(window_)) return;
  EnableWindow(window_, TRUE);
  if (focus_ != nullptr && IsWindow(focus_) && GetFocus() == nullptr) SetFocus(focus_);
}

void DisabledWindowScope::Hold() const {
  if (disabled_ && IsWindowEnabled(window_)) EnableWindow(window_, FALSE);
}

bool WaitDispatchingMessages(HANDLE object, DWORD timeoutMs, const DisabledWindowScope& disabled) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
    const DWORD woken = MsgWaitForMultipleObjectsEx(1, &object, static_cast<DWORD>(deadline - now),
                                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken != WAIT_OBJECT_0 + 1) return false;  // timed out or failed
    if (!DispatchOneMessage(disabled)) return WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
  }
}

bool WaitUntilDispatchingMessages(bool (*done)(void* context), void* context, DWORD timeoutMs,
                                  DWORD pollMs, const DisabledWindowScope& disabled) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done(context)) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    const auto wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, pollMs));
    const DWORD woken =
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0 && !DispatchOneMessage(disabled)) return done(context);
    if (woken == WAIT_FAILED) return done(context);
  }
}

}  // namespace app
