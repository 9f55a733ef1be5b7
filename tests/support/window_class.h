#pragma once

// Window classes that tests register for windows of their own.

#include <windows.h>

namespace testing_support {

// Registers a window class of this program under `name` with the given procedure, once: a later
// call with the same name finds it registered and changes nothing. Returns the name, for
// CreateWindowEx.
const wchar_t* TestWindowClass(const wchar_t* name, WNDPROC procedure = DefWindowProcW);

}  // namespace testing_support
