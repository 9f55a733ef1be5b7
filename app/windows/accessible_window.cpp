#include "app/windows/accessible_window.h"

#include <utility>

#include "accessible/accessible_base.h"
#include "accessible/kept_objects.h"

namespace app {
namespace {

RECT ClientRectOnScreen(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class WindowObject final : public accessible::AccessibleBase {
 public:
  WindowObject(HWND window, long role, AccessibleItemsOf itemsOf)
      : AccessibleBase(window), role_(role), itemsOf_(itemsOf) {}

 private:
  // The items are listed afresh for every question, so that they are those of the window's
  // layout now (after a change of DPI, for one).
  std::vector<AccessibleItem> Items() const {
    std::vector<AccessibleItem> items;
    if (!itemsOf_(window(), items)) items.clear();
    return items;
  }

  AccessibleItem Item(long child) const {
    std::vector<AccessibleItem> items = Items();
    if (child < 1 || child > static_cast<long>(items.size())) return {};
    return std::move(items[static_cast<size_t>(child - 1)]);
  }

  bool Connected() const override {
    std::vector<AccessibleItem> items;
    return AccessibleBase::Connected() && itemsOf_(window(), items);
  }

  long ChildCount() const override { return static_cast<long>(Items().size()); }

  HWND ChildWindow(long child) const override { return Item(child).window; }

  std::wstring Name(long child) const override {
    if (child != CHILDID_SELF) return Item(child).name;
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window())) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window(), text.data(), static_cast<int>(text.size()))));
    return text;
  }

  std::wstring Value(long child) const override {
    return child != CHILDID_SELF ? Item(child).value : std::wstring();
  }

  long Role(long child) const override { return child != CHILDID_SELF ? Item(child).role : role_; }

  // A top-level window can take the focus while it is enabled; the frame, which a person never
  // tabs to, only reports it while it holds it. Inside a disabled window the base reports
  // everything unavailable.
  long State(long child) const override {
    if (child != CHILDID_SELF) return Item(child).state;
    HWND self = window();
    long state = IsWindowVisible(self) ? 0 : STATE_SYSTEM_INVISIBLE;
    const bool holdsFocus = GetFocus() == self;
    if (holdsFocus) state |= STATE_SYSTEM_FOCUSED;
    if (holdsFocus || (GetWindowLongPtrW(self, GWL_STYLE) & WS_CHILD) == 0) {
      state |= STATE_SYSTEM_FOCUSABLE;
    }
    return state;
  }

  std::wstring DefaultAction(long child) const override {
    return child != CHILDID_SELF ? Item(child).defaultAction : std::wstring();
  }

  bool DoDefaultAction(long child) override {
    const AccessibleItem item = Item(child);
    if (item.doDefaultAction == nullptr) return false;
    item.doDefaultAction(window());
    return true;
  }

  RECT ScreenRect(long child) const override {
    if (child == CHILDID_SELF) return ClientRectOnScreen(window());
    RECT rect = Item(child).box.Rect();
    MapWindowPoints(window(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  long role_;
  AccessibleItemsOf itemsOf_;
};

}  // namespace

LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM objectId, long role,
                               AccessibleItemsOf items) {
  if (!accessible::AccessibleBase::AsksForClientObject(objectId)) return 0;
  return accessible::HandOutKept(window, wParam,
                                 [&] { return new WindowObject(window, role, items); });
}

void ReleaseAccessibleObject(HWND window) { accessible::Disconnect(window); }

bool ChildWindowItems(HWND window, std::vector<AccessibleItem>& items) {
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    items.push_back({.window = child});
  }
  return true;
}

}  // namespace app
