#pragma once

// A window's named properties, as the window itself holds them.

#include <windows.h>

#include <map>
#include <string>

namespace testing_support {

using WindowPropertyMap = std::map<std::string, LONG_PTR>;

// Every named property of the window, read in one call rather than one per key. Properties
// named by an atom alone are left out.
WindowPropertyMap WindowProperties(HWND window);

// Whether the window holds any of the skin's properties, asked of the window key by key.
bool CarriesAnySkinProperty(HWND window);

}  // namespace testing_support
