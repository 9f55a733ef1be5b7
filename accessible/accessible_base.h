#pragma once

// The one base of the program's accessible objects: what a screen reader gets when it asks a
// window for its object (WM_GETOBJECT) and walks its children. A derived object says what it is
// (name, role, state, place, default action) and what its children are; the base answers
// IAccessible from that, with IDispatch answered as not implemented, counts references, and checks
// every call: the child id, the pointers, and that the object is still connected. Once its window
// is gone (or no longer shows what the object stood for) every method answers
// CO_E_OBJNOTCONNECTED; a reader may hold on to an object for as long as it likes.
//
// Each window has one object, kept from the first request until the window goes (HandOutKept and
// Disconnect, accessible/kept_objects.h), and so has each simple element once a reader reaches it
// as an object of its own (by navigating from a sibling); every object answers IOleWindow with its
// own window.
//
// Children are numbered from 1 in reading order. A child is either a child window, which answers
// for itself through its own object, or a simple element (text or a picture drawn without a
// window) that its container describes. Navigation follows the reading order, from a child to the
// next and from a child window's object to its siblings in the window that holds it. The parent
// of every window's object is its own window's standard window object, as the platform's objects
// have; that of a simple element's own object is its container.
//
// The accessible interface can do no more than a person can: inside a disabled window (or one
// whose ancestor is disabled) every object and element reports itself unavailable, default
// actions are refused with E_ACCESSDENIED and nothing takes the focus.
//
// oleacc is not imported: it is loaded in one place, accessible/oleacc_functions.h, which says
// when, and stays loaded.
//
// The class's methods are defined in four files: accessible_base.cpp (the object's life, the COM
// interfaces, the checks and the children), accessible_answers.cpp (the answers and actions),
// accessible_navigation.cpp (the parent and the reading order) and element_object.cpp (the
// objects of simple elements).

#include <windows.h>

#include <oleacc.h>

#include <cstddef>
#include <string>
#include <vector>

namespace accessible {

class AccessibleBase : public IAccessible, public IOleWindow {
 public:
  AccessibleBase(const AccessibleBase&) = delete;
  AccessibleBase& operator=(const AccessibleBase&) = delete;

  // True while the object stands for what it was made for and has not been disconnected.
  bool Live() const { return !disconnected_ && Connected(); }

  // True while a person can use the window: it and every window that holds it are enabled.
  static bool TakesInput(HWND window);

  // True when WM_GETOBJECT's lParam asks for the object of the window's client area.
  static bool AsksForClientObject(LPARAM objectId) {
    return static_cast<LONG>(objectId) == OBJID_CLIENT;
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) final;
  ULONG STDMETHODCALLTYPE AddRef() final;
  ULONG STDMETHODCALLTYPE Release() final;

  // IOleWindow: the object's own window.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) final;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) final;

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
  virtual ~AccessibleBase();

  HWND window() const { return window_; }

  // What a derived object tells about itself (child CHILDID_SELF) and its simple children. Child
  // windows among the children answer for themselves; these are asked only for the object itself
  // and its simple elements.
  // True while the object still stands for what it was made for; by default while the window
  // exists. An object once disconnected stays so.
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
  friend class ElementObject;
  friend void Disconnect(HWND window);

  // Disconnects this object and the element objects it keeps, and lets go of them; the kept
  // marshal of the object itself goes with it.
  void DisconnectAll(IStream* marshal);
  // True for a child window, which the window that holds it parents; a top-level window's parent
  // is its owner.
  static bool IsChildWindow(HWND window);
  // The object of a window's client area, as any reader gets it (its own, or the platform's), with
  // one reference for the caller; null where there is none.
  static IDispatch* ClientObjectOf(HWND window);
  // The object of a simple element, kept by this container; one reference for the caller.
  IDispatch* ElementObjectOf(long child);
  // The parent a reader is given, with a reference for the caller; by default the window's
  // standard window object, kept with this object for the same reasons.
  virtual IDispatch* ParentObject();
  // The child id of this object's window among the children of the object of the window that
  // holds it; 0 where that object is not one of ours or does not list this window.
  virtual long PlaceInParent(AccessibleBase** parent) const;
  // NAVDIR_NEXT or NAVDIR_PREVIOUS from the object itself: its siblings in its holder's object.
  HRESULT NavigateAmongSiblings(long direction, VARIANT* end) const;

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
  bool disconnected_ = false;
  struct Element {
    long child;
    AccessibleBase* object;  // one reference
    IStream* marshal;
  };
  std::vector<Element> elements_;
  struct Foreign {
    HWND window;
    IDispatch* object;  // one reference
    IStream* marshal;
  };
  mutable std::vector<Foreign> foreign_;
  IDispatch* standardParent_ = nullptr;  // one reference, made at the first request
  IStream* standardParentMarshal_ = nullptr;
};

}  // namespace accessible
