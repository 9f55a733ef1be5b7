#include "tests/support/window_properties.h"

#include "skin/core/skin_props.h"

namespace testing_support {
namespace {

BOOL CALLBACK CollectProperty(HWND, LPSTR name, HANDLE value, ULONG_PTR properties) {
  if (!IS_INTRESOURCE(name)) {
    (*reinterpret_cast<WindowPropertyMap*>(properties))[name] = reinterpret_cast<LONG_PTR>(value);
  }
  return TRUE;
}

}  // namespace

WindowPropertyMap WindowProperties(HWND window) {
  WindowPropertyMap properties;
  EnumPropsExA(window, CollectProperty, reinterpret_cast<LPARAM>(&properties));
  return properties;
}

bool CarriesAnySkinProperty(HWND window) {
  for (const char* key : skin::props::kAllKeys) {
    if (GetPropA(window, key) != nullptr) return true;
  }
  return false;
}

}  // namespace testing_support
