#include "app/instructions_window.h"

#include <memory>
#include <utility>

#include "app/form_setup.h"
#include "app/main_window.h"
#include "app/painted_label.h"
#include "app/resource_ids.h"
#include "skin/graphics/gdi_handles.h"

namespace app::form2 {
namespace {

// The picture is drawn unscaled at the top left corner of the client area.
constexpr int kPictureWidth = 335;
constexpr int kPictureHeight = 228;

constexpr PixelBox kLabel1Box = {8, 232, 321, 73};
constexpr COLORREF kLabel1Colour = RGB(0xFF, 0x00, 0x00);
constexpr wchar_t kLabel1Face[] = L"宋体";  // SimSun
constexpr int kLabel1TenthsOfPoint = 105;

struct FormState {
  gdi::Bitmap picture{static_cast<HBITMAP>(LoadImageW(
      AppInstance(), MAKEINTRESOURCEW(IDB_INSTRUCTIONS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))};
  gdi::Font labelFont = CreateLabelFont(kLabel1Face, kLabel1TenthsOfPoint, FW_NORMAL, false);
};

HWND loadedForm = nullptr;

FormState* StateOf(HWND form) {
  return reinterpret_cast<FormState*>(GetWindowLongPtrW(form, DWLP_USER));
}

void PaintForm(HWND form, HDC dc) {
  const FormState* state = StateOf(form);
  if (state == nullptr) return;
  {
    gdi::MemoryDc source(dc);
    gdi::SelectGuard selectPicture(source.get(), state->picture.get());
    BitBlt(dc, 0, 0, kPictureWidth, kPictureHeight, source.get(), 0, 0, SRCCOPY);
  }
  DrawPaintedLabel(dc, kLabel1Box, kLabel1Text, state->labelFont.get(), kLabel1Colour);
}

INT_PTR OnInitDialog(HWND form) {
  SetWindowLongPtrW(form, DWLP_USER, reinterpret_cast<LONG_PTR>(new FormState));
  SizeClientAndCentre(form, kClientWidth, kClientHeight);
  SetProgramIcon(form);
  return TRUE;
}

INT_PTR OnPaint(HWND form) {
  gdi::PaintDc paint(form);
  PaintForm(form, paint.get());
  return TRUE;
}

INT_PTR OnPrintClient(HWND form, HDC dc) {
  PaintForm(form, dc);
  return TRUE;
}

INT_PTR OnClose(HWND form) {
  Form_QueryUnload(form);
  Unload();
  return TRUE;
}

INT_PTR OnNcDestroy(HWND form) {
  std::unique_ptr<FormState> owned(StateOf(form));
  SetWindowLongPtrW(form, DWLP_USER, 0);
  if (loadedForm == form) loadedForm = nullptr;
  return FALSE;
}

INT_PTR CALLBACK DialogProc(HWND form, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(form);
    case WM_PAINT:
      return OnPaint(form);
    case WM_PRINTCLIENT:
      return OnPrintClient(form, reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
      return OnClose(form);
    case WM_NCDESTROY:
      return OnNcDestroy(form);
    default:
      return FALSE;
  }
}

}  // namespace

HWND Show() {
  if (loadedForm == nullptr) {
    loadedForm =
        CreateDialogParamW(AppInstance(), MAKEINTRESOURCEW(IDD_FORM2), nullptr, DialogProc, 0);
    if (loadedForm == nullptr) return nullptr;
  }
  ShowWindow(loadedForm, SW_SHOW);
  SetForegroundWindow(loadedForm);
  return loadedForm;
}

void Unload() {
  HWND form = std::exchange(loadedForm, nullptr);
  if (form != nullptr) DestroyWindow(form);
}

HWND Window() { return loadedForm; }

void Form_QueryUnload(HWND) { form1::Show(); }

}  // namespace app::form2
