#include "tests/support/accessible_reading.h"

#include <utility>

namespace testing_support {
namespace {

VARIANT ChildVariant(long child) {
  VARIANT variant;
  VariantInit(&variant);
  V_VT(&variant) = VT_I4;
  V_I4(&variant) = child;
  return variant;
}

std::wstring TakeText(BSTR text) {
  std::wstring result = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
  SysFreeString(text);
  return result;
}

long TakeLong(VARIANT& variant) {
  const long value = V_VT(&variant) == VT_I4 ? V_I4(&variant) : -1;
  VariantClear(&variant);
  return value;
}

}  // namespace

AccessibleRef& AccessibleRef::operator=(AccessibleRef&& other) noexcept {
  std::swap(object_, other.object_);
  return *this;
}

AccessibleRef::~AccessibleRef() {
  if (object_ != nullptr) object_->Release();
}

AccessibleRef ClientObjectOf(HWND window) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                        IID_PPV_ARGS(&object)))) {
    return {};
  }
  return AccessibleRef(object);
}

AccessibleRef AccessibleFrom(IDispatch* object) {
  if (object == nullptr) return {};
  IAccessible* accessible = nullptr;
  if (FAILED(object->QueryInterface(IID_PPV_ARGS(&accessible)))) accessible = nullptr;
  object->Release();
  return AccessibleRef(accessible);
}

AccessibleNode ReadNode(AccessibleRef object, long child) {
  AccessibleNode node;
  node.child = child;
  if (!object) return node;
  const VARIANT id = ChildVariant(child);
  BSTR text = nullptr;
  object->get_accName(id, &text);
  node.name = TakeText(text);
  text = nullptr;
  object->get_accValue(id, &text);
  node.value = TakeText(text);
  text = nullptr;
  object->get_accDefaultAction(id, &text);
  node.action = TakeText(text);
  text = nullptr;
  object->get_accKeyboardShortcut(id, &text);
  node.shortcut = TakeText(text);
  VARIANT fact;
  VariantInit(&fact);
  object->get_accRole(id, &fact);
  node.role = TakeLong(fact);
  object->get_accState(id, &fact);
  node.state = TakeLong(fact);
  long left = 0, top = 0, width = 0, height = 0;
  object->accLocation(&left, &top, &width, &height, id);
  node.location = {left, top, left + width, top + height};
  node.object = std::move(object);
  return node;
}

std::vector<AccessibleNode> ReadChildren(const AccessibleRef& object) {
  std::vector<AccessibleNode> nodes;
  long count = 0;
  if (!object || FAILED(object->get_accChildCount(&count)) || count <= 0) return nodes;
  std::vector<VARIANT> children(static_cast<size_t>(count));
  long obtained = 0;
  if (FAILED(AccessibleChildren(object.get(), 0, count, children.data(), &obtained))) return nodes;
  for (long i = 0; i < obtained; ++i) {
    VARIANT& child = children[static_cast<size_t>(i)];
    if (V_VT(&child) == VT_DISPATCH) {
      nodes.push_back(ReadNode(AccessibleFrom(V_DISPATCH(&child))));
      V_VT(&child) = VT_EMPTY;  // the reference went to the node
    } else {
      object->AddRef();
      nodes.push_back(ReadNode(AccessibleRef(object.get()), TakeLong(child)));
    }
  }
  return nodes;
}

ChildFound TakeChild(VARIANT& found) {
  ChildFound result;
  if (V_VT(&found) == VT_I4) {
    result.child = V_I4(&found);
  } else if (V_VT(&found) == VT_DISPATCH) {
    IDispatch* object = V_DISPATCH(&found);
    object->AddRef();
    result.objectName = ReadNode(AccessibleFrom(object)).name;
  }
  VariantClear(&found);
  return result;
}

VARIANT ChildSelf() { return ChildVariant(CHILDID_SELF); }

POINT CentreOf(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace testing_support
