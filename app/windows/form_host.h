#pragma once

// What the program's two windows share: each is a modeless dialog made from a template, loaded
// by Show and unloaded by Unload or its close box, with per-window state that lives from
// WM_INITDIALOG to WM_NCDESTROY and a painter for WM_PAINT and WM_PRINTCLIENT. A form names its
// events in a FormEvents table; the host runs them in the form's order:
//   Show:   create the window (state, then the form's load), show it, then the form's `shown`
//   close:  unless the form defers it, the form's query-unload, then Unload
//   Unload: the form's unload while the window and its controls exist, then destroy it
// Each window keeps the DPI it is laid out at in its state: the platform's DPI of the window when
// it is created, then the DPI that WM_DPICHANGED brings. On that message the host lets the form
// lay itself out again and puts the window into the rectangle the system suggests. The host
// gives the window the program's icons at its DPI, and again at each new DPI.

#include <windows.h>

#include <memory>

#include "app/windows/accessible_window.h"
#include "win/unique_handle.h"

namespace app {

class FormHost;

// Per-window state of a form; each form derives its own.
class FormState {
 public:
  virtual ~FormState() = default;

  // The DPI the window is laid out at.
  int dpi() const { return dpi_; }

 private:
  friend class FormHost;
  FormHost* host_ = nullptr;
  int dpi_ = 0;
  // The icons the window shows, of its DPI's sizes.
  win::Icon bigIcon_;
  win::Icon smallIcon_;
};

// Makes the state of a window of the form whose state is State.
template <typename State>
std::unique_ptr<FormState> NewFormState() {
  return std::make_unique<State>();
}

struct FormEvents {
  int templateId = 0;
  std::unique_ptr<FormState> (*createState)() = nullptr;
  // WM_INITDIALOG, once the state exists; returns what the dialog procedure returns.
  INT_PTR (*load)(HWND form) = nullptr;
  void (*paint)(HWND form, HDC dc) = nullptr;
  // The client size in pixels at a DPI, and laying out the controls and making the fonts at the
  // DPI of the window's state (the load calls it too, before the window is sized).
  SIZE (*clientSizeAt)(int dpi) = nullptr;
  void (*layOut)(HWND form) = nullptr;
  // Each of these may be null.
  void (*shown)(HWND form) = nullptr;        // after every Show
  void (*queryUnload)(HWND form) = nullptr;  // the user closes the window; never cancels
  // The user closes the window while the form is at work: true when the form has taken the
  // request over and closes the window itself once done.
  bool (*deferClose)(HWND form) = nullptr;
  void (*unload)(HWND form) = nullptr;  // the window is about to be destroyed
  // Every other message; returns what the dialog procedure returns.
  INT_PTR (*message)(HWND form, UINT message, WPARAM wParam, LPARAM lParam) = nullptr;
  // What a screen reader finds in the client area, in reading order (WM_GETOBJECT).
  AccessibleItemsOf accessibleItems = nullptr;
};

class FormHost {
 public:
  explicit constexpr FormHost(const FormEvents& events) : events_(events) {}
  FormHost(const FormHost&) = delete;
  FormHost& operator=(const FormHost&) = delete;

  // Loads the window if it is not loaded, then shows it and brings it to the foreground.
  // Returns the window, or null when it could not be created.
  HWND Show();

  // Unloads the window; nothing happens when it is not loaded.
  void Unload();

  // The loaded window, or null.
  HWND Window() const { return loaded_; }

  // The state of a window of a form whose state type is State; null before WM_INITDIALOG and
  // after WM_NCDESTROY.
  template <typename State>
  static State* StateOf(HWND form) {
    return static_cast<State*>(StateBase(form));
  }

 private:
  static FormState* StateBase(HWND form);
  static INT_PTR CALLBACK DialogProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam);

  static void SetIcons(HWND form);
  INT_PTR OnInitDialog(HWND form);
  INT_PTR OnPaint(HWND form) const;
  INT_PTR OnClose(HWND form);
  INT_PTR OnGetDpiScaledSize(HWND form, int dpi, SIZE* size) const;
  INT_PTR OnDpiChanged(HWND form, int dpi, const RECT* suggested) const;
  INT_PTR OnNcDestroy(HWND form);
  INT_PTR OnGetObject(HWND form, WPARAM wParam, LPARAM objectId) const;
  INT_PTR OnSetCursor(HWND form, WPARAM wParam, LPARAM lParam) const;
  INT_PTR Dispatch(HWND form, UINT message, WPARAM wParam, LPARAM lParam);

  const FormEvents& events_;
  HWND loaded_ = nullptr;
};

}  // namespace app
