#pragma once

// Where the system calls the program back (a window or dialog procedure, a hook, an enumeration
// callback, a COM method), no C++ exception may leave: it would unwind through user32's or RPC's
// frames, which ends the process, and from a destructor it ends it at once. The only exceptions the
// program's code can raise are those of the standard library (an allocation or a string that
// fails), and each boundary stops them with the result that leaves the platform's own handling in
// place: the default of a window message, "continue" for an enumeration, E_OUTOFMEMORY for a COM
// method.

#include <windows.h>

#include <new>

namespace win {

// Runs body() and returns its result; returns `fallback` when it throws.
template <typename Result, typename Body>
Result CallGuarded(Result fallback, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return fallback;
  }
}

// The same for a COM method: E_OUTOFMEMORY for an allocation that failed, E_UNEXPECTED for any
// other exception.
template <typename Body>
HRESULT CallGuardedMethod(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace win
