#include "app/system/message_wait.h"

#include <algorithm>

namespace app {
namespace {

// Dispatches one message of the thread, if there is one, and keeps the scope's window disabled.
// False when it met WM_QUIT, which the scope keeps.
bool DispatchOneMessage(const DisabledWindowScope& disabled) {
  MSG message;
  if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return true;
  if (message.message == WM_QUIT) {
    disabled.KeepQuit(static_cast<int>(message.wParam));
    return false;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
  disabled.Hold();
  return true;
}

// The innermost scope of the thread; the program waits on its one user-interface thread only.
const DisabledWindowScope* innermostScope = nullptr;

// The window under the pointer when it lies in the top-level window `root`, else null; `point`
// gets where the pointer is.
HWND WindowUnderPointerIn(HWND root, POINT* point) {
  if (!GetCursorPos(point)) return nullptr;
  const HWND under = WindowFromPoint(*point);
  return under != nullptr && GetAncestor(under, GA_ROOT) == root ? under : nullptr;
}

bool PointerIsOver(HWND window) {
  POINT point{};
  return WindowUnderPointerIn(window, &point) != nullptr;
}

// Sets the pointer that the window under it asks for, as the system does when the pointer next
// moves: the window's own pointer comes back at once, not only after the next move.
void RefreshPointer(HWND window) {
  POINT point{};
  const HWND under = WindowUnderPointerIn(window, &point);
  if (under == nullptr) return;
  const LRESULT hitTest = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
               MAKELPARAM(static_cast<WORD>(hitTest), WM_MOUSEMOVE));
}

}  // namespace

DisabledWindowScope::DisabledWindowScope(HWND window, const wchar_t* pointer)
    : window_(window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr),
      focus_(GetFocus()),
      disabled_(window_ != nullptr && EnableWindow(window_, FALSE) == FALSE),
      pointer_(nullptr),
      outer_(innermostScope) {
  innermostScope = this;
  ShowPointer(pointer);
}

DisabledWindowScope::~DisabledWindowScope() {
  innermostScope = outer_;
  if (quit_) PostQuitMessage(*quit_);  // for the outer loop, which the wait kept it from
  if (window_ == nullptr || !IsWindow(window_)) return;
  if (disabled_) {
    EnableWindow(window_, TRUE);
    if (focus_ != nullptr && IsWindow(focus_) && GetFocus() == nullptr) SetFocus(focus_);
  }
  RefreshPointer(window_);
}

void DisabledWindowScope::Hold() const {
  if (disabled_ && IsWindowEnabled(window_)) EnableWindow(window_, FALSE);
}

void DisabledWindowScope::ShowPointer(const wchar_t* pointer) {
  if (window_ == nullptr) return;
  pointer_ = LoadCursorW(nullptr, pointer);  // a shared system cursor: nothing to free
  if (pointer_ != nullptr && PointerIsOver(window_)) SetCursor(pointer_);
}

HCURSOR DisabledWindowScope::PointerOver(HWND window) {
  const HWND root = window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
  for (const DisabledWindowScope* scope = innermostScope; scope != nullptr; scope = scope->outer_) {
    if (root != nullptr && scope->window_ == root) return scope->pointer_;
  }
  return nullptr;
}

bool SetBusyPointer(HWND window) {
  const HCURSOR pointer = DisabledWindowScope::PointerOver(window);
  if (pointer == nullptr) return false;
  SetCursor(pointer);
  return true;
}

bool WaitDispatchingMessages(HANDLE object, DWORD timeoutMs, const DisabledWindowScope& disabled) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline || disabled.QuitRequested()) {
      return WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
    }
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
    if (now >= deadline || disabled.QuitRequested()) return false;
    const auto wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, pollMs));
    const DWORD woken =
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0 && !DispatchOneMessage(disabled)) return done(context);
    if (woken == WAIT_FAILED) return done(context);
  }
}

}  // namespace app
