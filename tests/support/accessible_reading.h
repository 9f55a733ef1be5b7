#pragma once

// Reads accessible objects as a screen reader does: asks a window for its client object
// (AccessibleObjectFromWindow, which sends WM_GETOBJECT, in this process or another), walks the
// children with AccessibleChildren and reads each one's facts.

#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// One reference to an accessible object; empty where there is none.
using AccessibleRef = std::shared_ptr<IAccessible>;

// The object of a window's client area.
AccessibleRef ClientObjectOf(HWND window);

// The IAccessible of an object a call returned; the IDispatch reference is given up.
AccessibleRef AccessibleFrom(IDispatch* object);

// An object, or a simple element of one (child > 0), with what a reader reads of it.
struct AccessibleNode {
  AccessibleRef object;  // the object itself, or the container of a simple element
  long child = CHILDID_SELF;
  std::wstring name, value, action, shortcut, description;
  long role = 0;
  long state = 0;
  RECT location{};  // on the screen
};

AccessibleNode ReadNode(const AccessibleRef& object, long child = CHILDID_SELF);

// The children of the object in its order, each read; child windows as objects of their own.
std::vector<AccessibleNode> ReadChildren(const AccessibleRef& object);

// The name of what a hit test or a navigation of `container` returned (a child id or an
// object); the variant is cleared.
std::wstring NameFound(const AccessibleRef& container, VARIANT& found);

VARIANT ChildVariant(long child);

}  // namespace testing_support
