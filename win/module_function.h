#pragma once

// Functions that older systems lack, looked up at run time so that the program still starts
// there, and the calls that a platform only has under some names.

#include <windows.h>

namespace win {

// The named function of the module; nullptr for a null module or one that lacks it.
template <typename Function>
Function ModuleFunction(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The named function of a DLL that is loaded already (kernel32, user32, ntdll); nothing is
// loaded for the look-up. nullptr where the DLL is not loaded or lacks the function.
template <typename Function>
Function LoadedModuleFunction(const wchar_t* moduleName, const char* name) {
  return ModuleFunction<Function>(GetModuleHandleW(moduleName), name);
}

}  // namespace win
