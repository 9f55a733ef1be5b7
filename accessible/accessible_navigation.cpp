#include "accessible/accessible_base.h"

#include "accessible/kept_table.h"
#include "accessible/oleacc_functions.h"
#include "accessible/table_strong_marshal.h"
#include "win/ole_automation.h"

// Where an object sits: its parent, its place among the children of the object that holds its
// window, and the reading order a reader navigates by.

namespace accessible {

using win::InitVariant;
using win::SetLongVariant;

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
  SetLongVariant(&start, place);
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

}  // namespace accessible
