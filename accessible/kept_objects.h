#pragma once

// The table of kept objects. Every object of a window is kept, with a table-strong marshal of it,
// from the first request until the window goes. Readers compare objects to know where they are,
// so each item must be the same object every time. And under Wine, an object that died with each
// answer made COM tear down its stub on the UI thread whenever a reader let go of its last proxy,
// in the middle of the window's messages, until the program froze; the kept marshal holds the
// stub for the window's life, so that a reader's release never ends it.
//
// The windows of every thread may hand objects out: the table is touched under a lock only, and
// COM is called outside it.

#include <windows.h>

#include <objbase.h>
#include <oleacc.h>

#include <cstddef>

#include "accessible/accessible_base.h"

namespace accessible {

// A table-strong marshal of `object` in a stream of its own: while the stream is kept, the
// object's stub lives, whatever readers release. Null where none could be made.
template <typename Interface>
IStream* MarshalTableStrong(Interface* object) {
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return nullptr;
  if (FAILED(CoMarshalInterface(stream, __uuidof(Interface), object, MSHCTX_LOCAL, nullptr,
                                MSHLFLAGS_TABLESTRONG))) {
    stream->Release();
    return nullptr;
  }
  return stream;
}

// Releases a marshal made by MarshalTableStrong and its stream; nothing for null.
void ReleaseMarshal(IStream* stream);

// The object kept for the window, without a reference for the caller; null where none is.
AccessibleBase* KeptObject(HWND window);

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

// How many windows have an object kept; for tests that nothing is left behind.
size_t KeptCount();

// The object of a window's client area, as any reader gets it (its own, or the platform's), with
// one reference for the caller; null where there is none.
IDispatch* ClientObjectOf(HWND window);

}  // namespace accessible
