#pragma once

// Reads accessible objects as a screen reader does: asks a window for its client object
// (AccessibleObjectFromWindow, which sends WM_GETOBJECT, in this process or another), walks the
// children with AccessibleChildren and reads each one's facts.

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace testing_support {

// One reference to an accessible object, released on destruction.
class AccessibleRef {
 public:
  AccessibleRef() = default;
  explicit AccessibleRef(IAccessible* object) : object_(object) {}
  AccessibleRef(AccessibleRef&& other) noexcept : object_(other.object_) {
    other.object_ = nullptr;
  }
  AccessibleRef& operator=(AccessibleRef&& other) noexcept;
  AccessibleRef(const AccessibleRef&) = delete;
  AccessibleRef& operator=(const AccessibleRef&) = delete;
  ~AccessibleRef();

  IAccessible* get() const { return object_; }
  IAccessible* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  IAccessible* object_ = nullptr;
};

// The object of a window's client area; empty when the window gives none.
AccessibleRef ClientObjectOf(HWND window);

// The IAccessible of an IDispatch that a call returned (the reference is taken over).
AccessibleRef AccessibleFrom(IDispatch* object);

// One object, or one simple element of an object (child > 0), with what a reader reads of it.
struct AccessibleNode {
  AccessibleRef object;  // the object itself, or the container of a simple element
  long child = CHILDID_SELF;
  std::wstring name, value, action, shortcut;
  long role = 0;
  long state = 0;
  RECT location{};  // on the screen
};

// Reads the facts of `child` of `object`.
AccessibleNode ReadNode(AccessibleRef object, long child = CHILDID_SELF);

// The children of the object in its order, each read; objects of their own for child windows.
std::vector<AccessibleNode> ReadChildren(const AccessibleRef& object);

// The child id a VARIANT names (VT_I4), or -1; the name of the object a VT_DISPATCH holds. The
// variant is cleared.
struct ChildFound {
  long child = -1;
  std::wstring objectName;
};
ChildFound TakeChild(VARIANT& found);

// CHILDID_SELF as a VARIANT.
VARIANT ChildSelf();

// A screen point at the centre of a rectangle.
POINT CentreOf(const RECT& rect);

}  // namespace testing_support
