#include "tests/support/accessible_reading.h"

namespace testing_support {
namespace {

AccessibleRef Owned(IAccessible* object) {
  return AccessibleRef(object, [](IAccessible* held) {
    if (held != nullptr) held->Release();
  });
}

}  // namespace

AccessibleRef AccessibleFrom(IDispatch* object) {
  IAccessible* accessible = nullptr;
  if (object != nullptr && FAILED(object->QueryInterface(IID_PPV_ARGS(&accessible)))) {
    accessible = nullptr;
  }
  if (object != nullptr) object->Release();
  return accessible != nullptr ? Owned(accessible) : nullptr;
}

namespace {

using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

std::wstring ReadText(IAccessible* object, TextGetter getter, VARIANT child) {
  BSTR text = nullptr;
  (object->*getter)(child, &text);
  std::wstring result = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
  SysFreeString(text);
  return result;
}

long TakeLong(VARIANT variant) {
  const long value = V_VT(&variant) == VT_I4 ? V_I4(&variant) : -1;
  VariantClear(&variant);
  return value;
}

}  // namespace

VARIANT ChildVariant(long child) {
  VARIANT variant;
  VariantInit(&variant);
  V_VT(&variant) = VT_I4;
  V_I4(&variant) = child;
  return variant;
}

AccessibleRef ClientObjectOf(HWND window) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                        IID_PPV_ARGS(&object)))) {
    return nullptr;
  }
  return Owned(object);
}

AccessibleNode ReadNode(const AccessibleRef& object, long child) {
  AccessibleNode node;
  node.object = object;
  node.child = child;
  if (!object) return node;
  const VARIANT id = ChildVariant(child);
  node.name = ReadText(object.get(), &IAccessible::get_accName, id);
  node.value = ReadText(object.get(), &IAccessible::get_accValue, id);
  node.action = ReadText(object.get(), &IAccessible::get_accDefaultAction, id);
  node.shortcut = ReadText(object.get(), &IAccessible::get_accKeyboardShortcut, id);
  node.description = ReadText(object.get(), &IAccessible::get_accDescription, id);
  VARIANT fact;
  object->get_accRole(id, &fact);
  node.role = TakeLong(fact);
  object->get_accState(id, &fact);
  node.state = TakeLong(fact);
  long left = 0, top = 0, width = 0, height = 0;
  object->accLocation(&left, &top, &width, &height, id);
  node.location = {left, top, left + width, top + height};
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
    nodes.push_back(V_VT(&child) == VT_DISPATCH ? ReadNode(AccessibleFrom(V_DISPATCH(&child)))
                                                : ReadNode(object, TakeLong(child)));
  }
  return nodes;
}

std::wstring NameFound(const AccessibleRef& container, VARIANT& found) {
  if (V_VT(&found) == VT_DISPATCH) return ReadNode(AccessibleFrom(V_DISPATCH(&found))).name;
  if (V_VT(&found) != VT_I4) return L"(nothing)";
  return ReadNode(container, TakeLong(found)).name;
}

}  // namespace testing_support
