#include "tests/support/window_class.h"

namespace testing_support {

const wchar_t* TestWindowClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = name;
  RegisterClassW(&windowClass);  // fails harmlessly when already registered
  return name;
}

}  // namespace testing_support
