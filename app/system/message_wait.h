#pragma once

// Waiting on the user-interface thread: the window stays painted and takes no click while the
// program waits for another process to do something.

#include <windows.h>

namespace app {

// Disables a top-level window for its lifetime, as a modal box would, and gives it back its
// enabled state and keyboard focus afterwards. A box of the window's own that closes meanwhile
// enables its owner as it goes; Hold disables the window again.
class DisabledWindowScope {
 public:
  explicit DisabledWindowScope(HWND window);
  DisabledWindowScope(const DisabledWindowScope&) = delete;
  DisabledWindowScope& operator=(const DisabledWindowScope&) = delete;
  ~DisabledWindowScope();

  void Hold() const;

 private:
  HWND window_;
  HWND focus_;
  bool disabled_;  // true when this scope disabled the window and must enable it again
};

// Waits until the object is signalled, dispatching the thread's messages meanwhile. Returns true
// when it was signalled within timeoutMs. Messages are taken one at a time, each followed by a
// look at the object and the clock, so that a steady stream of them cannot hold the wait past its
// deadline. A WM_QUIT met on the way is posted again for the outer loop. The window of the scope
// stays disabled throughout, whatever the messages do.
bool WaitDispatchingMessages(HANDLE object, DWORD timeoutMs, const DisabledWindowScope& disabled);

// Waits until done() returns true, looking every pollMs and dispatching the thread's messages
// meanwhile, for what no handle signals (a window that appears). Returns whether done() held
// within timeoutMs. The window of the scope stays disabled throughout.
bool WaitUntilDispatchingMessages(bool (*done)(void* context), void* context, DWORD timeoutMs,
                                  DWORD pollMs, const DisabledWindowScope& disabled);

}  // namespace app
