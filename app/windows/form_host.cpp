#include "app/windows/form_host.h"

#include <utility>

#include "app/system/message_wait.h"
#include "app/windows/form_setup.h"
#include "win/callback_barrier.h"
#include "win/dpi.h"
#include "win/unique_handle.h"

namespace app {
namespace {

// WM_GETDPISCALEDSIZE: per-monitor (v2) windows get it before WM_DPICHANGED; the headers declare
// it only for a newer target system than ours.
constexpr UINT kGetDpiScaledSize = 0x02E4;

// The forms lay themselves out at every DPI; the dialog manager's own scaling of a template's
// controls and font on a DPI change (where the system has it) would work against that.
void TurnOffDialogScaling(HWND form) {
  using SetBehaviourFunction =
      BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
  if (const auto set = win::User32Function<SetBehaviourFunction>("SetDialogDpiChangeBehavior")) {
    set(form, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
  }
}

}  // namespace

HWND FormHost::Show() {
  if (loaded_ == nullptr) {
    loaded_ = CreateDialogParamW(AppInstance(), MAKEINTRESOURCEW(events_.templateId), nullptr,
                                 DialogProc, reinterpret_cast<LPARAM>(this));
    if (loaded_ == nullptr) return nullptr;
  }
  ShowWindow(loaded_, SW_SHOW);
  SetForegroundWindow(loaded_);
  if (events_.shown != nullptr) events_.shown(loaded_);
  return loaded_;
}

void FormHost::Unload() {
  HWND form = std::exchange(loaded_, nullptr);
  if (form == nullptr) return;
  if (events_.unload != nullptr) events_.unload(form);
  DestroyWindow(form);
}

FormState* FormHost::StateBase(HWND form) {
  return reinterpret_cast<FormState*>(GetWindowLongPtrW(form, DWLP_USER));
}

// Gives the window the program's small and big icon at the DPI of its state. An icon set before
// is destroyed once the window holds its successor; one that cannot be loaded stays. The small
// one goes first: a window given a big icon and no small one has a small one made from the big
// (a scaled copy for the caption and the taskbar), which the small icon then replaces; under
// Wine's X11 driver that copy is made and sent to the window manager as each icon arrives, so
// the order that makes none spares the start that work.
void FormHost::SetIcons(HWND form) {
  FormState* state = StateBase(form);
  struct Slot {
    WPARAM which;
    int sizeMetric;
    win::Icon* owned;
  };
  for (const Slot& slot : {Slot{ICON_SMALL, SM_CXSMICON, &state->smallIcon_},
                           Slot{ICON_BIG, SM_CXICON, &state->bigIcon_}}) {
    win::Icon icon = LoadProgramIcon(slot.sizeMetric, state->dpi_);
    if (!icon) continue;
    SendMessageW(form, WM_SETICON, slot.which, reinterpret_cast<LPARAM>(icon.get()));
    *slot.owned = std::move(icon);
  }
}

INT_PTR FormHost::OnInitDialog(HWND form) {
  std::unique_ptr<FormState> state = events_.createState();
  state->host_ = this;
  state->dpi_ = win::WindowDpi(form);
  SetWindowLongPtrW(form, DWLP_USER, reinterpret_cast<LONG_PTR>(state.release()));
  TurnOffDialogScaling(form);
  SetIcons(form);
  return events_.load(form);
}

// Before a change of DPI the system asks for the window's size at the new DPI, so that the
// rectangle it then suggests holds the client area exactly.
INT_PTR FormHost::OnGetDpiScaledSize(HWND form, int dpi, SIZE* size) const {
  if (size == nullptr || dpi <= 0) return FALSE;
  *size = WindowSizeForClient(form, events_.clientSizeAt(dpi), dpi);
  SetWindowLongPtrW(form, DWLP_MSGRESULT, TRUE);
  return TRUE;
}

// The DPI comes from the message: the platform's own answer may lag behind it (under Wine
// GetDpiForWindow keeps the DPI the window was created at). A message without a rectangle or
// with no DPI changes nothing.
INT_PTR FormHost::OnDpiChanged(HWND form, int dpi, const RECT* suggested) const {
  if (suggested == nullptr || dpi <= 0) return FALSE;
  StateBase(form)->dpi_ = dpi;
  SetIcons(form);
  events_.layOut(form);
  PlaceInSuggestedRect(form, *suggested, events_.clientSizeAt(dpi));
  RedrawWindow(form, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  SetWindowLongPtrW(form, DWLP_MSGRESULT, 0);
  return TRUE;
}

INT_PTR FormHost::OnPaint(HWND form) const {
  const win::PaintDc paint(form);
  events_.paint(form, paint.get());
  return TRUE;
}

INT_PTR FormHost::OnClose(HWND form) {
  if (events_.deferClose != nullptr && events_.deferClose(form)) return TRUE;
  if (events_.queryUnload != nullptr) events_.queryUnload(form);
  Unload();
  return TRUE;
}

INT_PTR FormHost::OnNcDestroy(HWND form) {
  ReleaseAccessibleObject(form);
  const std::unique_ptr<FormState> owned(StateBase(form));
  SetWindowLongPtrW(form, DWLP_USER, 0);
  if (loaded_ == form) loaded_ = nullptr;
  return FALSE;
}

// The form's own object for its client area; any other object is the platform's.
INT_PTR FormHost::OnGetObject(HWND form, WPARAM wParam, LPARAM objectId) const {
  if (events_.accessibleItems == nullptr) return FALSE;
  const LRESULT object =
      AnswerAccessibleObject(form, wParam, objectId, ROLE_SYSTEM_CLIENT, events_.accessibleItems);
  if (object == 0) return FALSE;
  SetWindowLongPtrW(form, DWLP_MSGRESULT, object);
  return TRUE;
}

// While the program waits with the window disabled, the busy pointer; otherwise the form's own.
INT_PTR FormHost::OnSetCursor(HWND form, WPARAM wParam, LPARAM lParam) const {
  if (!SetBusyPointer(form)) {
    return events_.message != nullptr ? events_.message(form, WM_SETCURSOR, wParam, lParam) : FALSE;
  }
  SetWindowLongPtrW(form, DWLP_MSGRESULT, TRUE);
  return TRUE;
}

INT_PTR FormHost::Dispatch(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPaint(form);
    case WM_PRINTCLIENT:
      events_.paint(form, reinterpret_cast<HDC>(wParam));
      return TRUE;
    case WM_CLOSE:
      return OnClose(form);
    case kGetDpiScaledSize:
      return OnGetDpiScaledSize(form, static_cast<int>(wParam), reinterpret_cast<SIZE*>(lParam));
    case WM_DPICHANGED:
      return OnDpiChanged(form, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
    case WM_NCDESTROY:
      return OnNcDestroy(form);
    case WM_GETOBJECT:
      return OnGetObject(form, wParam, lParam);
    case WM_SETCURSOR:
      return OnSetCursor(form, wParam, lParam);
    default:
      return events_.message != nullptr ? events_.message(form, message, wParam, lParam) : FALSE;
  }
}

// The host of a window comes with WM_INITDIALOG and stays with its state; messages before that
// one (WM_SETFONT of the template) are left to the dialog manager. So is a message whose handling
// fails with an exception (an allocation): it stops here, since it must not unwind through the
// dialog manager's frames.
INT_PTR CALLBACK FormHost::DialogProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
  return win::CallGuarded(INT_PTR{FALSE}, [&]() -> INT_PTR {
    if (message == WM_INITDIALOG) return reinterpret_cast<FormHost*>(lParam)->OnInitDialog(form);
    const FormState* state = StateBase(form);
    if (state == nullptr) return FALSE;
    return state->host_->Dispatch(form, message, wParam, lParam);
  });
}

}  // namespace app
