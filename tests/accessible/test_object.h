#pragma once

// An accessible object of the tests' own over a plain window: two simple elements with long
// names (a reading allocates), and a flag that tells when the object has been freed.

#include <windows.h>

#include <string>

#include "accessible/accessible_base.h"

namespace accessible_tests {

class TestObject final : public accessible::AccessibleBase {
 public:
  static constexpr long kElements = 2;

  TestObject(HWND window, bool* freed) : AccessibleBase(window), freed_(freed) {}

 private:
  ~TestObject() override { *freed_ = true; }

  long ChildCount() const override { return kElements; }
  std::wstring Name(long child) const override {
    return std::wstring(40, L'a') + std::to_wstring(child);
  }
  long Role(long child) const override {
    return child == CHILDID_SELF ? ROLE_SYSTEM_CLIENT : ROLE_SYSTEM_STATICTEXT;
  }
  RECT ScreenRect(long) const override { return {0, 0, 10, 10}; }

  bool* freed_;
};

}  // namespace accessible_tests
