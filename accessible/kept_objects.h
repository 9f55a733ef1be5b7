#pragma once

// Keeping, handing out and disconnecting each window's one object. Every object of a window is
// kept, with a table-strong marshal of it (accessible/table_strong_marshal.h), from the first
// request until the window goes (the table itself: accessible/kept_table.h). Readers compare
// objects to know where they are, so each item must be the same object every time; and the kept
// marshal holds the object's stub for the window's life, so that a reader's release never tears
// it down in the middle of the window's messages.
//
// The windows of every thread may hand objects out: the table is touched under its lock only, and
// COM is called outside it.

#include <windows.h>

#include <oleacc.h>

#include "accessible/accessible_base.h"
#include "accessible/kept_table.h"

namespace accessible {

// Keeps `object` (taking over its reference) as the window's object; returns it, or null for a
// null object.
AccessibleBase* Keep(HWND window, AccessibleBase* object);

// Hands a kept object out for WM_GETOBJECT; the window keeps its own reference. 0 where oleacc
// is missing.
LRESULT HandOut(AccessibleBase* object, WPARAM wParam);

// Disconnects and releases the object kept for the window, if any: the window is being
// destroyed, or no longer shows what the object stands for. Proxies that readers still hold then
// answer CO_E_OBJNOTCONNECTED.
void Disconnect(HWND window);

// The answer to WM_GETOBJECT that hands out the window's one object as its client object: the
// object kept for the window, or the one `make` returns (a new object, whose reference the window
// then keeps) at the first request. 0 where it cannot be handed out (oleacc or the thread's
// apartment missing): the window then passes the message on and the platform answers with its
// own object.
template <typename Make>
LRESULT HandOutKept(HWND window, WPARAM wParam, Make make) {
  AccessibleBase* kept = KeptObject(window);
  if (kept != nullptr && !kept->Live()) {
    // Left from what the window stood for before (a handle used again): it goes.
    Disconnect(window);
    kept = nullptr;
  }
  if (kept == nullptr) kept = Keep(window, make());
  return kept != nullptr ? HandOut(kept, wParam) : 0;
}

}  // namespace accessible
