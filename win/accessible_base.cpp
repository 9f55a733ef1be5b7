#include "win/accessible_base.h"

#include "win/dll_search.h"

namespace win {
namespace {

// The functions of oleacc that the objects use, looked up once. The module stays loaded for the
// life of the process: objects handed out, and the proxies that reach them, run its code.
struct Oleacc {
  decltype(&::LresultFromObject) lresultFromObject = nullptr;
  decltype(&::AccessibleObjectFromWindow) objectFromWindow = nullptr;
  decltype(&::CreateStdAccessibleObject) createStandardObject = nullptr;
};

const Oleacc& OleaccFunctions() {
  static const Oleacc functions = [] {
    const HMODULE module = LoadSystemLibrary(L"oleacc.dll");
    Oleacc found;
    found.lresultFromObject =
        ModuleFunction<decltype(&::LresultFromObject)>(module, "LresultFromObject");
    found.objectFromWindow = ModuleFunction<decltype(&::AccessibleObjectFromWindow)>(
        module, "AccessibleObjectFromWindow");
    found.createStandardObject =
        ModuleFunction<decltype(&::CreateStdAccessibleObject)>(module, "CreateStdAccessibleObject");
    return found;
  }();
  return functions;
}

bool IsChildId(const VARIANT& child) { return V_VT(&child) == VT_I4; }

VARIANT SelfVariant() {
  VARIANT self;
  VariantInit(&self);
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

}  // namespace

ThreadApartment::ThreadApartment()
    : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ThreadApartment::~ThreadApartment() {
  if (joined_) CoUninitialize();
}

LRESULT AccessibleBase::HandOut(AccessibleBase* object, WPARAM wParam) {
  const auto lresultFromObject = OleaccFunctions().lresultFromObject;
  const LRESULT result =
      lresultFromObject != nullptr ? lresultFromObject(__uuidof(IAccessible), wParam, object) : 0;
  object->Release();  // the reference the object was made with; the result holds its own
  return result > 0 ? result : 0;
}

IDispatch* AccessibleBase::ClientObjectOf(HWND window) {
  const auto objectFromWindow = OleaccFunctions().objectFromWindow;
  IDispatch* object = nullptr;
  if (objectFromWindow == nullptr ||
      FAILED(objectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IDispatch),
                              reinterpret_cast<void**>(&object)))) {
    return nullptr;
  }
  return object;
}

// --- IUnknown and IDispatch -----------------------------------------------------------------

HRESULT AccessibleBase::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
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
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if (!IsChildId(child) || V_I4(&child) < CHILDID_SELF || V_I4(&child) > ChildCount()) {
    return E_INVALIDARG;
  }
  return S_OK;
}

IDispatch* AccessibleBase::ChildObject(long child) const {
  if (child == CHILDID_SELF) return nullptr;
  HWND childWindow = ChildWindow(child);
  return childWindow != nullptr ? ClientObjectOf(childWindow) : nullptr;
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
  *out = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// --- IAccessible ----------------------------------------------------------------------------

// A child window's object sits in the object of the window that holds it, mirroring the
// children that object lists; a top-level window's object sits in the window's own standard
// object, as the platform's do.
HRESULT AccessibleBase::get_accParent(IDispatch** parent) {
  if (parent == nullptr) return E_POINTER;
  *parent = nullptr;
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if ((GetWindowLongPtrW(window_, GWL_STYLE) & WS_CHILD) != 0) {
    *parent = ClientObjectOf(GetAncestor(window_, GA_PARENT));
    return *parent != nullptr ? S_OK : S_FALSE;
  }
  const auto createStandardObject = OleaccFunctions().createStandardObject;
  if (createStandardObject == nullptr ||
      FAILED(createStandardObject(window_, OBJID_WINDOW, __uuidof(IDispatch),
                                  reinterpret_cast<void**>(parent)))) {
    *parent = nullptr;
    return S_FALSE;
  }
  return S_OK;
}

HRESULT AccessibleBase::get_accChildCount(long* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
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
  VariantInit(role);
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
  VariantInit(state);
  if (const HRESULT checked = CheckChild(child); FAILED(checked)) return checked;
  if (IDispatch* object = ChildObject(V_I4(&child))) {
    return AskChildObject(
        object, [&](IAccessible* a, VARIANT self) { return a->get_accState(self, state); });
  }
  SetLong(state, State(V_I4(&child)));
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
  VariantInit(focus);
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
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
  VariantInit(selection);
  return Connected() ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT AccessibleBase::get_accDefaultAction(VARIANT child, BSTR* action) {
  return ReturnText(child, action, &AccessibleBase::DefaultAction,
                    &IAccessible::get_accDefaultAction);
}

HRESULT AccessibleBase::accSelect(long, VARIANT child) {
  const HRESULT checked = CheckChild(child);
  return FAILED(checked) ? checked : DISP_E_MEMBERNOTFOUND;
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

// Reading order: the first and last child from the object itself, the next and previous child
// from a child. Moving away from the object itself is its parent's to answer.
HRESULT AccessibleBase::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (end == nullptr) return E_POINTER;
  VariantInit(end);
  if (const HRESULT checked = CheckChild(start); FAILED(checked)) return checked;
  const long from = V_I4(&start);
  long to = 0;
  switch (direction) {
    case NAVDIR_FIRSTCHILD:
      to = from == CHILDID_SELF ? 1 : 0;
      break;
    case NAVDIR_LASTCHILD:
      to = from == CHILDID_SELF ? ChildCount() : 0;
      break;
    case NAVDIR_NEXT:
      to = from == CHILDID_SELF ? 0 : from + 1;
      break;
    case NAVDIR_PREVIOUS:
      to = from == CHILDID_SELF ? 0 : from - 1;
      break;
    default:
      return E_NOTIMPL;
  }
  if (to < 1 || to > ChildCount()) return S_FALSE;
  SetChildVariant(to, end);
  return S_OK;
}

HRESULT AccessibleBase::accHitTest(long x, long y, VARIANT* hit) {
  if (hit == nullptr) return E_POINTER;
  VariantInit(hit);
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
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

HRESULT AccessibleBase::accDoDefaultAction(VARIANT child) {
  if (const HRESULT checked = CheckChild(child); FAILED(checked)) return checked;
  if (IDispatch* object = ChildObject(V_I4(&child))) {
    return AskChildObject(object,
                          [](IAccessible* a, VARIANT self) { return a->accDoDefaultAction(self); });
  }
  return DoDefaultAction(V_I4(&child)) ? S_OK : DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleBase::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT AccessibleBase::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

}  // namespace win
