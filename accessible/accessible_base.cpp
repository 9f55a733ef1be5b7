#include "accessible/accessible_base.h"

#include <utility>

#include "accessible/kept_table.h"
#include "accessible/oleacc_functions.h"
#include "accessible/table_strong_marshal.h"
#include "win/ole_automation.h"

// The object's life, the COM interfaces every object answers, and the checks and the children
// that every question goes through. What the object answers to IAccessible's questions is in
// accessible_answers.cpp, where it sits among others in accessible_navigation.cpp, and the
// objects of simple elements in element_object.cpp.

namespace accessible {
namespace {

bool IsChildId(const VARIANT& child) { return V_VT(&child) == VT_I4; }

}  // namespace

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

bool AccessibleBase::TakesInput(HWND window) {
  for (HWND w = window; w != nullptr; w = IsChildWindow(w) ? GetParent(w) : nullptr) {
    if (!IsWindowEnabled(w)) return false;
  }
  return window != nullptr;
}

bool AccessibleBase::IsChildWindow(HWND window) {
  return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
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
  win::SetLongVariant(result, child);
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

// A window with an object of ours answers with it directly; any other is asked, as a reader
// would ask it.
IDispatch* AccessibleBase::ClientObjectOf(HWND window) {
  if (AccessibleBase* object = KeptObject(window)) {
    object->AddRef();
    return static_cast<IAccessible*>(object);
  }
  const auto objectFromWindow = OleaccFunctions().objectFromWindow;
  IDispatch* object = nullptr;
  if (objectFromWindow == nullptr ||
      FAILED(objectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IDispatch),
                              reinterpret_cast<void**>(&object)))) {
    return nullptr;
  }
  return object;
}

}  // namespace accessible
