#include "accessible/accessible_base.h"

#include "win/ole_automation.h"

// What an object answers to IAccessible's questions about itself and its children, and what it
// does when asked to act: a child window's own object answers for it, the derived object tells
// about itself and its simple elements.

namespace accessible {
namespace {

using win::AllocateBstr;
using win::InitVariant;
using win::SetLongVariant;

VARIANT SelfVariant() {
  VARIANT self;
  InitVariant(&self);
  SetLongVariant(&self, CHILDID_SELF);
  return self;
}

// The IAccessible of a child window's object, or null.
IAccessible* AccessibleOf(IDispatch* object) {
  if (object == nullptr) return nullptr;
  IAccessible* accessible = nullptr;
  if (FAILED(object->QueryInterface(IID_PPV_ARGS(&accessible)))) accessible = nullptr;
  object->Release();
  return accessible;
}

// Asks a child window's own object the same question about itself.
template <typename Call>
HRESULT AskChildObject(IDispatch* object, Call call) {
  IAccessible* accessible = AccessibleOf(object);
  if (accessible == nullptr) return E_INVALIDARG;
  const HRESULT result = call(accessible, SelfVariant());
  accessible->Release();
  return result;
}

bool Contains(const RECT& rect, long x, long y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// The selection flags: nothing in these windows can be selected, so none of them makes sense for
// any of their objects.
constexpr long kSelectionFlags = SELFLAG_TAKESELECTION | SELFLAG_EXTENDSELECTION |
                                 SELFLAG_ADDSELECTION | SELFLAG_REMOVESELECTION;
constexpr long kKnownSelectFlags = SELFLAG_TAKEFOCUS | kSelectionFlags;

// The standard class of dialog boxes (WC_DIALOG).
constexpr ULONG_PTR kDialogClassAtom = 32770;

// Moves the keyboard focus to the window as a person's Tab would: through the dialog manager
// where a dialog holds it (so that the default button follows), directly otherwise.
void MoveFocusTo(HWND window) {
  HWND root = GetAncestor(window, GA_ROOT);
  if (root != window && GetClassLongPtrW(root, GCW_ATOM) == kDialogClassAtom) {
    SendMessageW(root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window), TRUE);
    return;
  }
  SetFocus(window);
}

}  // namespace

HRESULT AccessibleBase::ReturnText(const VARIANT& child, BSTR* out,
                                   std::wstring (AccessibleBase::*text)(long) const,
                                   TextQuestion question) const {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (const HRESULT checked = CheckChild(child); FAILED(checked)) return checked;
  if (IDispatch* object = ChildObject(V_I4(&child))) {
    return AskChildObject(object,
                          [&](IAccessible* a, VARIANT self) { return (a->*question)(self, out); });
  }
  const std::wstring value = (this->*text)(V_I4(&child));
  if (value.empty()) return S_FALSE;
  *out = AllocateBstr(value);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// --- IAccessible ----------------------------------------------------------------------------

HRESULT AccessibleBase::get_accChildCount(long* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  if (!Live()) return CO_E_OBJNOTCONNECTED;
  *count = ChildCount();
  return S_OK;
}

// A simple element has no object of its own: S_FALSE, and the reader asks this object about it.
HRESULT AccessibleBase::get_accChild(VARIANT child, IDispatch** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (const HRESULT checked = CheckChild(child); FAILED(checked)) return checked;
  if (V_I4(&child) == CHILDID_SELF) return E_INVALIDARG;
  *object = ChildObject(V_I4(&child));
  return *object != nullptr ? S_OK : S_FALSE;
}

HRESULT AccessibleBase::get_accName(VARIANT child, BSTR* name) {
  return ReturnText(child, name, &AccessibleBase::Name, &IAccessible::get_accName);
}

HRESULT AccessibleBase::get_accValue(VARIANT child, BSTR* value) {
  return ReturnText(child, value, &AccessibleBase::Value, &IAccessible::get_accValue);
}

HRESULT AccessibleBase::get_accDescription(VARIANT child, BSTR* description) {
  return ReturnText(child, description, &AccessibleBase::Description,
                    &IAccessible::get_accDescription);
}

HRESULT AccessibleBase::get_accRole(VARIANT child, VARIANT* role) {
  if (role == nullptr) return E_POINTER;
  InitVariant(role);
  if (const HRESULT checked = CheckChild(child); FAILED(checked)) return checked;
  if (IDispatch* object = ChildObject(V_I4(&child))) {
    return AskChildObject(object,
                          [&](IAccessible* a, VARIANT self) { return a->get_accRole(self, role); });
  }
  SetLongVariant(role, Role(V_I4(&child)));
  return S_OK;
}

HRESULT AccessibleBase::get_accState(VARIANT child, VARIANT* state) {
  if (state == nullptr) return E_POINTER;
  InitVariant(state);
  if (const HRESULT checked = CheckChild(child); FAILED(checked)) return checked;
  if (IDispatch* object = ChildObject(V_I4(&child))) {
    return AskChildObject(
        object, [&](IAccessible* a, VARIANT self) { return a->get_accState(self, state); });
  }
  long facts = State(V_I4(&child));
  if (!TakesInput(window_)) {
    facts = (facts & ~(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED)) | STATE_SYSTEM_UNAVAILABLE;
  }
  SetLongVariant(state, facts);
  return S_OK;
}

HRESULT AccessibleBase::get_accHelp(VARIANT child, BSTR* help) {
  if (help == nullptr) return E_POINTER;
  *help = nullptr;
  const HRESULT checked = CheckChild(child);
  return FAILED(checked) ? checked : S_FALSE;
}

HRESULT AccessibleBase::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
  if (file == nullptr || topic == nullptr) return E_POINTER;
  *file = nullptr;
  *topic = -1;
  const HRESULT checked = CheckChild(child);
  return FAILED(checked) ? checked : S_FALSE;
}

HRESULT AccessibleBase::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  return ReturnText(child, shortcut, &AccessibleBase::KeyboardShortcut,
                    &IAccessible::get_accKeyboardShortcut);
}

// The focus is on this object's window, in one of its child windows (whose object answers for
// what inside it has the focus), or nowhere that this object knows of.
HRESULT AccessibleBase::get_accFocus(VARIANT* focus) {
  if (focus == nullptr) return E_POINTER;
  InitVariant(focus);
  if (!Live()) return CO_E_OBJNOTCONNECTED;
  HWND focused = GetFocus();
  if (focused == window_) {
    SetLongVariant(focus, CHILDID_SELF);
    return S_OK;
  }
  for (long child = 1; focused != nullptr && child <= ChildCount(); ++child) {
    HWND childWindow = ChildWindow(child);
    if (childWindow != nullptr && (childWindow == focused || IsChild(childWindow, focused))) {
      SetChildVariant(child, focus);
      return S_OK;
    }
  }
  return S_FALSE;
}

HRESULT AccessibleBase::get_accSelection(VARIANT* selection) {
  if (selection == nullptr) return E_POINTER;
  InitVariant(selection);
  return Live() ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT AccessibleBase::get_accDefaultAction(VARIANT child, BSTR* action) {
  return ReturnText(child, action, &AccessibleBase::DefaultAction,
                    &IAccessible::get_accDefaultAction);
}

// The focus goes to an object that can take it now, as a person's Tab would put it there; a
// painted element, or anything inside a disabled window, is left as it is (S_FALSE).
HRESULT AccessibleBase::accSelect(long flags, VARIANT child) {
  if (const HRESULT checked = CheckChild(child); FAILED(checked)) return checked;
  if ((flags & ~kKnownSelectFlags) != 0 || (flags & kSelectionFlags) != 0) return E_INVALIDARG;
  if (IDispatch* object = ChildObject(V_I4(&child))) {
    return AskChildObject(
        object, [flags](IAccessible* a, VARIANT self) { return a->accSelect(flags, self); });
  }
  if (flags == SELFLAG_NONE) return S_OK;
  if (V_I4(&child) != CHILDID_SELF || !TakesInput(window_) ||
      (State(CHILDID_SELF) & STATE_SYSTEM_FOCUSABLE) == 0) {
    return S_FALSE;
  }
  MoveFocusTo(window_);
  HWND focused = GetFocus();
  return focused != nullptr && (focused == window_ || IsChild(window_, focused)) ? S_OK : S_FALSE;
}

HRESULT AccessibleBase::accLocation(long* left, long* top, long* width, long* height,
                                    VARIANT child) {
  if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
  *left = *top = *width = *height = 0;
  if (const HRESULT checked = CheckChild(child); FAILED(checked)) return checked;
  const RECT rect = RectOf(V_I4(&child));
  *left = rect.left;
  *top = rect.top;
  *width = rect.right - rect.left;
  *height = rect.bottom - rect.top;
  return S_OK;
}

HRESULT AccessibleBase::accHitTest(long x, long y, VARIANT* hit) {
  if (hit == nullptr) return E_POINTER;
  InitVariant(hit);
  if (!Live()) return CO_E_OBJNOTCONNECTED;
  if (!Contains(RectOf(CHILDID_SELF), x, y)) return S_FALSE;
  for (long child = 1; child <= ChildCount(); ++child) {
    if (Contains(RectOf(child), x, y)) {
      SetChildVariant(child, hit);
      return S_OK;
    }
  }
  SetLongVariant(hit, CHILDID_SELF);
  return S_OK;
}

// Refused inside a disabled window, where a person's click does nothing either.
HRESULT AccessibleBase::accDoDefaultAction(VARIANT child) {
  if (const HRESULT checked = CheckChild(child); FAILED(checked)) return checked;
  if (!TakesInput(window_)) return E_ACCESSDENIED;
  if (IDispatch* object = ChildObject(V_I4(&child))) {
    return AskChildObject(object,
                          [](IAccessible* a, VARIANT self) { return a->accDoDefaultAction(self); });
  }
  return DoDefaultAction(V_I4(&child)) ? S_OK : DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleBase::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT AccessibleBase::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

}  // namespace accessible
