#include "app/instructions_window.h"

#include <memory>

#include "app/form_host.h"
#include "app/form_setup.h"
#include "app/main_window.h"
#include "app/painted_label.h"
#include "app/resource_ids.h"
#include "win/unique_handle.h"

namespace app::form2 {
namespace {

// The picture is drawn unscaled at the top left corner of the client area.
constexpr int kPictureWidth = 335;
constexpr int kPictureHeight = 228;

constexpr PixelBox kLabel1Box = {8, 232, 321, 73};
constexpr COLORREF kLabel1Colour = RGB(0xFF, 0x00, 0x00);
constexpr wchar_t kLabel1Face[] = L"宋体";  // SimSun
constexpr int kLabel1TenthsOfPoint = 105;

struct Form2State : FormState {
  win::Bitmap picture{static_cast<HBITMAP>(LoadImageW(
      AppInstance(), MAKEINTRESOURCEW(IDB_INSTRUCTIONS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))};
  win::Font labelFont = CreateLabelFont(kLabel1Face, kLabel1TenthsOfPoint, FW_NORMAL, false);
};

void PaintForm(HWND form, HDC dc) {
  const auto* state = FormHost::StateOf<Form2State>(form);
  if (state == nullptr) return;
  {
    win::MemoryDc source(dc);
    win::SelectGuard selectPicture(source.get(), state->picture.get());
    BitBlt(dc, 0, 0, kPictureWidth, kPictureHeight, source.get(), 0, 0, SRCCOPY);
  }
  DrawPaintedLabel(dc, kLabel1Box, kLabel1Text, state->labelFont.get(), kLabel1Colour);
}

INT_PTR OnInitDialog(HWND form) {
  SizeClientAndCentre(form, kClientWidth, kClientHeight);
  SetProgramIcon(form);
  return TRUE;
}

constexpr FormEvents kEvents = {
    .templateId = IDD_FORM2,
    .createState = NewFormState<Form2State>,
    .load = OnInitDialog,
    .paint = PaintForm,
    .queryUnload = Form_QueryUnload,
};

FormHost host(kEvents);

}  // namespace

HWND Show() { return host.Show(); }

void Unload() { host.Unload(); }

HWND Window() { return host.Window(); }

void Form_QueryUnload(HWND) { form1::Show(); }

}  // namespace app::form2
