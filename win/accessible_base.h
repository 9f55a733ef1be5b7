#pragma once

// The one base of the program's accessible objects: what a screen reader gets when it asks a
// window for its object (WM_GETOBJECT) and walks its children. A derived object says what it is
// (name, role, state, place, default action) and what its children are; the base answers
// IAccessible from that, with IDispatch answered as not implemented, counts references, and checks
// every call: the child id, the pointers, and that the object is still connected. Once its window
// is gone (or no longer shows what the object stood for) every method answers
// CO_E_OBJNOTCONNECTED; a reader may hold on to an object for as long as it likes.
//
// Children are numbered from 1 in reading order. A child is either a child window, which answers
// for itself through its own object, or a simple element (text or a picture drawn without a
// window) that its container describes. Navigation follows the reading order. The parent of a
// child window's object is the object of the window that holds it; that of a top-level window's
// object is the window's own standard object.
//
// oleacc is not imported: the program loads it from the system directory when it first hands an
// object out, and keeps it loaded.

#include <windows.h>

#include <oleacc.h>

#include <string>

namespace win {

// Joins the calling thread to a single-threaded apartment for the object's life, as a thread must
// be that hands accessible objects to other processes; their calls then arrive through its
// message loop.
class ThreadApartment {
 public:
  ThreadApartment();
  ~ThreadApartment();
  ThreadApartment(const ThreadApartment&) = delete;
  ThreadApartment& operator=(const ThreadApartment&) = delete;

 private:
  bool joined_ = false;
};

class AccessibleBase : public IAccessible {
 public:
  AccessibleBase(const AccessibleBase&) = delete;
  AccessibleBase& operator=(const AccessibleBase&) = delete;

  // The answer to WM_GETOBJECT that hands `object` (a new one, whose reference the call takes
  // over) out as the window's client object. 0 where it cannot be handed out (oleacc or the
  // thread's apartment missing): the window then passes the message on and the platform answers
  // with its own object.
  static LRESULT HandOut(AccessibleBase* object, WPARAM wParam);

  // True when WM_GETOBJECT's lParam asks for the object of the window's client area.
  static bool AsksForClientObject(LPARAM objectId) {
    return static_cast<LONG>(objectId) == OBJID_CLIENT;
  }

  // The object of a window's client area, as any reader gets it (its own, or the platform's),
  // with one reference for the caller; null where there is none.
  static IDispatch* ClientObjectOf(HWND window);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) final;
  ULONG STDMETHODCALLTYPE AddRef() final;
  ULONG STDMETHODCALLTYPE Release() final;

  // IDispatch: not implemented; readers use IAccessible directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) final;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) final;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) final;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) final;

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) final;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) final;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) final;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) final;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) final;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) final;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) final;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) final;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) final;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) final;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) final;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) final;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) final;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) final;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) final;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) final;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) final;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) final;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) final;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) final;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) final;

 protected:
  explicit AccessibleBase(HWND window) : window_(window) {}
  virtual ~AccessibleBase() = default;

  HWND window() const { return window_; }

  // What a derived object tells about itself (child CHILDID_SELF) and its simple children. Child
  // windows among the children answer for themselves; these are asked only for the object itself
  // and its simple elements.
  // True while the object still stands for what it was made for; by default while the window
  // exists.
  virtual bool Connected() const { return IsWindow(window_) != FALSE; }
  virtual long ChildCount() const { return 0; }
  // The child window at this place in the reading order; null for a simple element.
  virtual HWND ChildWindow(long) const { return nullptr; }
  virtual std::wstring Name(long child) const = 0;
  virtual std::wstring Value(long) const { return {}; }
  // What a reader says after the name, where there is more to tell than the name says.
  virtual std::wstring Description(long) const { return {}; }
  virtual long Role(long child) const = 0;
  virtual long State(long) const { return 0; }
  virtual std::wstring KeyboardShortcut(long) const { return {}; }
  virtual std::wstring DefaultAction(long) const { return {}; }
  // Does what the default action names; false where there is nothing to do.
  virtual bool DoDefaultAction(long) { return false; }
  // Where it is on the screen, in pixels.
  virtual RECT ScreenRect(long child) const = 0;

 private:
  // S_OK when the object is connected and `child` names it or one of its children.
  HRESULT CheckChild(const VARIANT& child) const;
  // The object of a child window among the children, or null for a simple element.
  IDispatch* ChildObject(long child) const;
  // A child as VT_I4, or as VT_DISPATCH where it is a child window that answers for itself.
  void SetChildVariant(long child, VARIANT* result) const;
  // A text about the object or a child: a child window's own object answers for it (the same
  // question, asked of it), a simple element's comes from `text`.
  using TextQuestion = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
  HRESULT ReturnText(const VARIANT& child, BSTR* out,
                     std::wstring (AccessibleBase::*text)(long) const, TextQuestion question) const;
  RECT RectOf(long child) const;

  HWND window_;
  LONG references_ = 1;
};

}  // namespace win
