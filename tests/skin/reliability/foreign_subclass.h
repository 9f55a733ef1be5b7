#pragma once

// A subclass of someone else's, installed above the skin (as an input helper or an accessibility
// tool would be). It passes every message on, except those it is told to swallow, and counts what
// it sees.

#include <windows.h>

#include <map>

namespace reliability {

// Far deeper than any real nesting of one window's messages: a message that comes back this
// often is going round in a loop, and is stopped here rather than by the stack.
inline constexpr int kRecursionLimit = 64;

struct ForeignSubclass {
  WNDPROC previous = nullptr;
  bool swallowDestruction = false;
  int messages = 0;
  int depth = 0;
  bool recursed = false;
};

// The subclasses put on so far, by window; a test clears it as it starts.
inline std::map<HWND, ForeignSubclass> foreign;

inline LRESULT CALLBACK ForeignProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ForeignSubclass& self = foreign[window];
  ++self.messages;
  if (self.swallowDestruction && (message == WM_DESTROY || message == WM_NCDESTROY)) return 0;
  if (self.depth >= kRecursionLimit) {
    self.recursed = true;
    return 0;
  }
  ++self.depth;
  const LRESULT result = CallWindowProcW(self.previous, window, message, wParam, lParam);
  --self.depth;
  return result;
}

inline void SubclassFromOutside(HWND window, bool swallowDestruction = false) {
  foreign[window].swallowDestruction = swallowDestruction;
  foreign[window].previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProcedure)));
}

}  // namespace reliability
