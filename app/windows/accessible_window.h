#pragma once

// What a screen reader finds in the program's own windows: the object a form or the frame hands
// out for its client area, with its children in reading order. A child window among them answers
// for itself; text and pictures that the window paints are simple elements of its object, each
// with a name, a role, its box at the window's DPI and, where a click on it does something, a
// default action that does the same.

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

#include "app/windows/painted_label.h"

namespace app {

struct AccessibleItem {
  HWND window = nullptr;  // a child window that answers for itself; the rest is for painted items
  long role = 0;
  std::wstring name{};
  PixelBox box{};  // in the client coordinates of the window that paints it
  long state = 0;
  std::wstring value{};
  std::wstring defaultAction{};
  void (*doDefaultAction)(HWND window) = nullptr;
};

// Lists a window's items in reading order; false when the window no longer has what they are
// made from (its state is gone): its objects then answer that they are disconnected.
using AccessibleItemsOf = bool (*)(HWND window, std::vector<AccessibleItem>& items);

// The answer to WM_GETOBJECT of a window whose client area holds these items. For OBJID_CLIENT,
// the window's one object (made at the first request and handed out again for every later one)
// of the role, named by the window's text, located at its client area; 0 for other object ids
// or where no object can be handed out, so that the platform answers.
LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM objectId, long role,
                               AccessibleItemsOf items);

// Disconnects and lets go of the window's object; every window that answers through
// AnswerAccessibleObject calls it as it is destroyed (WM_NCDESTROY).
void ReleaseAccessibleObject(HWND window);

// Items for a window whose children are all child windows, in their order.
bool ChildWindowItems(HWND window, std::vector<AccessibleItem>& items);

// Default actions of painted items, as a screen reader shows them: a link's "jump".
inline constexpr wchar_t kLinkAction[] = L"跳转";

}  // namespace app
