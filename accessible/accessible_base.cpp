#include "accessible/accessible_base.h"

#include <utility>
#include <vector>

#include "accessible/kept_objects.h"
#include "accessible/oleacc_functions.h"
#include "win/ole_automation.h"

namespace accessible {
namespace {

using win::AllocateBstr;
using win::InitVariant;

bool IsChildId(const VARIANT& child) { return V_VT(&child) == VT_I4; }

VARIANT SelfVariant() {
  VARIANT self;
  InitVariant(&self);
  V_VT(&self) = VT_I4;
  V_I4(&self) = CHILDID_SELF;
  return self;
}

void SetLong(VARIANT* result, long value) {
  V_VT(result) = VT_I4;
  V_I4(result) = value;
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

bool IsChildWindow(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0; }

}  // namespace

// The object of a simple element, for a reader that reaches it from a sibling and holds it: it
// answers every question by asking its container about the element, and sits in the container.
class ElementObject final : public AccessibleBase {
 public:
  ElementObject(AccessibleBase* container, long child)
      : AccessibleBase(container->window()), container_(container), child_(child) {
    container_->AddRef();
  }
  ~ElementObject() override { container_->Release(); }

 private:
  bool Connected() const override {
    return container_->Live() && child_ <= container_->ChildCount();
  }
  std::wstring Name(long) const override { return container_->Name(child_); }
  std::wstring Value(long) const override { return container_->Value(child_); }
  long Role(long) const override { return container_->Role(child_); }
  long State(long) const override { return container_->State(child_); }
  std::wstring KeyboardShortcut(long) const override {
    return container_->KeyboardShortcut(child_);
  }
  std::wstring DefaultAction(long) const override { return container_->DefaultAction(child_); }
  bool DoDefaultAction(long) override { return container_->DoDefaultAction(child_); }
  RECT ScreenRect(long) const override { return container_->ScreenRect(child_); }
  IDispatch* ParentObject() override {
    container_->AddRef();
    return static_cast<IAccessible*>(container_);
  }
  long PlaceInParent(AccessibleBase** parent) const override {
    container_->AddRef();
    *parent = container_;
    return child_;
  }

  AccessibleBase* container_;  // one reference
  long child_;
};

// Only an object that was never kept still holds others here.
AccessibleBase::~AccessibleBase() {
  for (const Foreign& kept : foreign_) {
    ReleaseMarshal(kept.marshal);
    kept.object->Release();
  }
  ReleaseMarshal(standardParentMarshal_);
  if (standardParent_ != nullptr) standardParent_->Release();
}

void AccessibleBase::DisconnectAll(IStream* marshal) {
  for (const Element& element : std::exchange(elements_, {})) {
    element.object->DisconnectAll(element.marshal);
  }
  for (const Foreign& kept : std::exchange(foreign_, {})) {
    ReleaseMarshal(kept.marshal);
    CoDisconnectObject(kept.object, 0);
    kept.object->Release();
  }
  disconnected_ = true;
  if (IDispatch* parent = std::exchange(standardParent_, nullptr)) {
    ReleaseMarshal(std::exchange(standardParentMarshal_, nullptr));
    CoDisconnectObject(parent, 0);
    parent->Release();
  }
  ReleaseMarshal(marshal);
  CoDisconnectObject(static_cast<IAccessible*>(this), 0);
  Release();
}

// Kept as the window's objects are, and for the same reasons, until the container goes.
IDispatch* AccessibleBase::ElementObjectOf(long child) {
  AccessibleBase* object = nullptr;
  for (const Element& element : elements_) {
    if (element.child == child) object = element.object;
  }
  if (object == nullptr) {
    object = new ElementObject(this, child);
    elements_.push_back({child, object, MarshalTableStrong(static_cast<IAccessible*>(object))});
  }
  object->AddRef();
  return static_cast<IAccessible*>(object);
}

bool AccessibleBase::TakesInput(HWND window) {
  for (HWND w = window; w != nullptr; w = IsChildWindow(w) ? GetParent(w) : nullptr) {
    if (!IsWindowEnabled(w)) return false;
  }
  return window != nullptr;
}

// --- IUnknown and IDispatch -----------------------------------------------------------------

HRESULT AccessibleBase::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  if (iid == __uuidof(IOleWindow)) {
    *object = static_cast<IOleWindow*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG AccessibleBase::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG AccessibleBase::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT AccessibleBase::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = nullptr;
  if (!Live()) return CO_E_OBJNOTCONNECTED;
  *window = window_;
  return S_OK;
}

HRESULT AccessibleBase::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT AccessibleBase::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return E_NOTIMPL;
}

HRESULT AccessibleBase::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT AccessibleBase::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT AccessibleBase::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                               UINT*) {
  return E_NOTIMPL;
}

// --- The checks and the children ------------------------------------------------------------

HRESULT AccessibleBase::CheckChild(const VARIANT& child) const {
  if (!Live()) return CO_E_OBJNOTCONNECTED;
  if (!IsChildId(child) || V_I4(&child) < CHILDID_SELF || V_I4(&child) > ChildCount()) {
    return E_INVALIDARG;
  }
  return S_OK;
}

// The platform's object of a child window that has none of ours (a button while the skin stands
// aside for a high-contrast scheme) is made in this process and passed on to the reader; it is
// kept as ours are, and for the same reasons. The one just asked for is let go of again here, in
// the same thread, where no stub is involved.
IDispatch* AccessibleBase::ChildObject(long child) const {
  if (child == CHILDID_SELF) return nullptr;
  HWND childWindow = ChildWindow(child);
  IDispatch* asked = childWindow != nullptr ? ClientObjectOf(childWindow) : nullptr;
  if (asked == nullptr || KeptObject(childWindow) != nullptr) return asked;
  for (const Foreign& kept : foreign_) {
    if (kept.window != childWindow) continue;
    asked->Release();
    kept.object->AddRef();
    return kept.object;
  }
  foreign_.push_back({childWindow, asked, MarshalTableStrong(asked)});
  asked->AddRef();
  return asked;
}

void AccessibleBase::SetChildVariant(long child, VARIANT* result) const {
  if (IDispatch* object = ChildObject(child)) {
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = object;
    return;
  }
  SetLong(result, child);
}

RECT AccessibleBase::RectOf(long child) const {
  RECT rect{};
  HWND childWindow = child != CHILDID_SELF ? ChildWindow(child) : nullptr;
  if (childWindow != nullptr) {
    GetWindowRect(childWindow, &rect);
    return rect;
  }
  return ScreenRect(child);
}

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

// Every object sits in its own window's standard window object, as the platform's objects do;
// that one sits in the object of the window that holds it.
HRESULT AccessibleBase::get_accParent(IDispatch** parent) {
  if (parent == nullptr) return E_POINTER;
  *parent = nullptr;
  if (!Live()) return CO_E_OBJNOTCONNECTED;
  *parent = ParentObject();
  return *parent != nullptr ? S_OK : S_FALSE;
}

IDispatch* AccessibleBase::ParentObject() {
  const auto createStandardObject = OleaccFunctions().createStandardObject;
  if (standardParent_ == nullptr && createStandardObject != nullptr &&
      SUCCEEDED(createStandardObject(window_, OBJID_WINDOW, __uuidof(IDispatch),
                                     reinterpret_cast<void**>(&standardParent_)))) {
    standardParentMarshal_ = MarshalTableStrong(standardParent_);
  }
  if (standardParent_ != nullptr) standardParent_->AddRef();
  return standardParent_;
}

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
  SetLong(role, Role(V_I4(&child)));
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
  SetLong(state, facts);
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
    SetLong(focus, CHILDID_SELF);
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

long AccessibleBase::PlaceInParent(AccessibleBase** parent) const {
  *parent = nullptr;
  if (!IsChildWindow(window_)) return 0;
  HWND holder = GetParent(window_);
  // Asked as a reader asks, so that a window of ours makes its object if it has none yet.
  if (IDispatch* object = ClientObjectOf(holder)) object->Release();
  AccessibleBase* holderObject = KeptObject(holder);
  if (holderObject == nullptr || !holderObject->Live()) return 0;
  for (long child = 1; child <= holderObject->ChildCount(); ++child) {
    if (holderObject->ChildWindow(child) != window_) continue;
    holderObject->AddRef();
    *parent = holderObject;
    return child;
  }
  return 0;
}

// Reading order: the first and last child from the object itself, the next and previous child
// from a child, and from the object of a child window its siblings in the object of the window
// that holds it. The spatial directions are not supported; any other is no direction at all.
HRESULT AccessibleBase::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (end == nullptr) return E_POINTER;
  InitVariant(end);
  if (const HRESULT checked = CheckChild(start); FAILED(checked)) return checked;
  const long from = V_I4(&start);
  long to = 0;
  switch (direction) {
    case NAVDIR_UP:
    case NAVDIR_DOWN:
    case NAVDIR_LEFT:
    case NAVDIR_RIGHT:
      return DISP_E_MEMBERNOTFOUND;
    case NAVDIR_FIRSTCHILD:
      to = from == CHILDID_SELF ? 1 : 0;
      break;
    case NAVDIR_LASTCHILD:
      to = from == CHILDID_SELF ? ChildCount() : 0;
      break;
    case NAVDIR_NEXT:
    case NAVDIR_PREVIOUS:
      if (from == CHILDID_SELF) return NavigateAmongSiblings(direction, end);
      to = direction == NAVDIR_NEXT ? from + 1 : from - 1;
      break;
    default:
      return E_INVALIDARG;
  }
  if (to < 1 || to > ChildCount()) return S_FALSE;
  SetChildVariant(to, end);
  return S_OK;
}

HRESULT AccessibleBase::NavigateAmongSiblings(long direction, VARIANT* end) const {
  AccessibleBase* parent = nullptr;
  const long place = PlaceInParent(&parent);
  if (place == 0) return S_FALSE;
  VARIANT start;
  InitVariant(&start);
  SetLong(&start, place);
  HRESULT result = parent->accNavigate(direction, start, end);
  // A simple element's id means nothing to the reader outside its container: it gets the
  // element's own object.
  if (result == S_OK && V_VT(end) == VT_I4) {
    const long sibling = V_I4(end);
    V_VT(end) = VT_DISPATCH;
    V_DISPATCH(end) = parent->ElementObjectOf(sibling);
  }
  parent->Release();
  return result;
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
  SetLong(hit, CHILDID_SELF);
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
