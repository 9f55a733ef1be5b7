#pragma once

// The functions of oleacc that the accessible objects use. oleacc is not imported: it is loaded
// from the system directory when an object is first handed out or asked for, or a window first
// annotated, and it stays loaded for the life of the process, since objects handed out, and the
// proxies that reach them, run its code.

#include <windows.h>

#include <oleacc.h>

namespace accessible {

struct Oleacc {
  HMODULE module = nullptr;  // null where oleacc could not be loaded
  decltype(&::LresultFromObject) lresultFromObject = nullptr;
  decltype(&::AccessibleObjectFromWindow) objectFromWindow = nullptr;
  decltype(&::CreateStdAccessibleObject) createStandardObject = nullptr;
};

// Looked up once; a function is null where oleacc or the function is missing.
const Oleacc& OleaccFunctions();

}  // namespace accessible
