#include "app/form_host.h"

#include <utility>

#include "app/form_setup.h"
#include "win/unique_handle.h"

namespace app {

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

INT_PTR FormHost::OnInitDialog(HWND form) {
  std::unique_ptr<FormState> state = events_.createState();
  state->host_ = this;
  SetWindowLongPtrW(form, DWLP_USER, reinterpret_cast<LONG_PTR>(state.release()));
  return events_.load(form);
}

INT_PTR FormHost::OnPaint(HWND form) const {
  const win::PaintDc paint(form);
  events_.paint(form, paint.get());
  return TRUE;
}

INT_PTR FormHost::OnClose(HWND form) {
  if (events_.queryUnload != nullptr) events_.queryUnload(form);
  Unload();
  return TRUE;
}

INT_PTR FormHost::OnNcDestroy(HWND form) {
  const std::unique_ptr<FormState> owned(StateBase(form));
  SetWindowLongPtrW(form, DWLP_USER, 0);
  if (loaded_ == form) loaded_ = nullptr;
  return FALSE;
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
    case WM_NCDESTROY:
      return OnNcDestroy(form);
    default:
      return events_.message != nullptr ? events_.message(form, message, wParam, lParam) : FALSE;
  }
}

// The host of a window comes with WM_INITDIALOG and stays with its state; messages before that
// one (WM_SETFONT of the template) are left to the dialog manager.
INT_PTR CALLBACK FormHost::DialogProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return reinterpret_cast<FormHost*>(lParam)->OnInitDialog(form);
  const FormState* state = StateBase(form);
  if (state == nullptr) return FALSE;
  return state->host_->Dispatch(form, message, wParam, lParam);
}

}  // namespace app
