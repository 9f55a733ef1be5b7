#pragma once

// Waiting on the user-interface thread: the window stays painted and takes no click while the
// program waits for another process to do something.

#include <windows.h>

#include <optional>
#include <utility>

namespace app {

// Disables a top-level window for its lifetime, as a modal box would, and gives it back its
// enabled state and keyboard focus afterwards. A box of the window's own that closes meanwhile
// enables its owner as it goes; Hold disables the window again. Meanwhile the pointer over the
// window is a busy one (IDC_WAIT, or IDC_APPSTARTING while something starts in the background),
// so that the wait does not look like a hang: the window's WM_SETCURSOR sets it through
// SetBusyPointer. The ordinary pointer comes back with the window.
//
// A WM_QUIT that a wait meets is kept by the scope: that wait and every later one under the scope
// return at once, and the caller sees it through QuitRequested, so that it can stop before doing
// anything more. The scope posts the quit again as it goes, unless the caller took it (TakeQuit)
// to post it itself later, after a box that the pending quit would otherwise close at once.
class DisabledWindowScope {
 public:
  explicit DisabledWindowScope(HWND window, const wchar_t* pointer = IDC_WAIT);
  DisabledWindowScope(const DisabledWindowScope&) = delete;
  DisabledWindowScope& operator=(const DisabledWindowScope&) = delete;
  ~DisabledWindowScope();

  void Hold() const;

  // Shows another busy pointer, one of the system's (IDC_WAIT, IDC_APPSTARTING), from now on.
  void ShowPointer(const wchar_t* pointer);

  // The busy pointer over `window` while a scope holds it or its top-level window; null when
  // none does.
  static HCURSOR PointerOver(HWND window);

  // Whether a wait under this scope met WM_QUIT, and the exit code it carried.
  bool QuitRequested() const { return quit_.has_value(); }
  void KeepQuit(int exitCode) const { quit_ = exitCode; }
  // The quit's exit code, which the caller now posts itself (PostQuitMessage); none when no quit
  // was met.
  std::optional<int> TakeQuit() { return std::exchange(quit_, std::nullopt); }

 private:
  HWND window_;
  HWND focus_;
  bool disabled_;  // true when this scope disabled the window and must enable it again
  HCURSOR pointer_;
  const DisabledWindowScope* outer_;  // the scope that was innermost before this one
  mutable std::optional<int> quit_;   // the exit code of a WM_QUIT that a wait met
};

// What a window does with WM_SETCURSOR before anything else: while a DisabledWindowScope holds
// the window (or its top-level window), sets the scope's busy pointer and returns true, and the
// message is handled; otherwise returns false. A disabled window still receives WM_SETCURSOR
// (with the hit test HTERROR) whenever the pointer moves over it, and the default handling
// would set the arrow again.
bool SetBusyPointer(HWND window);

// Waits until the object is signalled, dispatching the thread's messages meanwhile. Returns true
// when it was signalled within timeoutMs. Messages are taken one at a time, each followed by a
// look at the object and the clock, so that a steady stream of them cannot hold the wait past its
// deadline. A WM_QUIT met on the way, or met before under the same scope, ends the wait at once
// and is kept by the scope (QuitRequested). The window of the scope stays disabled throughout,
// whatever the messages do.
bool WaitDispatchingMessages(HANDLE object, DWORD timeoutMs, const DisabledWindowScope& disabled);

// Waits until done() returns true, looking every pollMs and dispatching the thread's messages
// meanwhile, for what no handle signals (a window that appears). Returns whether done() held
// within timeoutMs. A WM_QUIT ends it as it ends WaitDispatchingMessages. The window of the scope
// stays disabled throughout.
bool WaitUntilDispatchingMessages(bool (*done)(void* context), void* context, DWORD timeoutMs,
                                  DWORD pollMs, const DisabledWindowScope& disabled);

}  // namespace app
