#include "app/windows/instructions_window.h"

#include <memory>
#include <string>
#include <vector>

#include "app/windows/accessible_window.h"
#include "app/windows/form_host.h"
#include "app/windows/form_setup.h"
#include "app/windows/painted_label.h"
#include "app/windows/painted_picture.h"
#include "app/windows/resource_ids.h"
#include "app/windows/twips_layout.h"
#include "win/unique_handle.h"

namespace app::form2 {
namespace {

// Every position and size is in twips (15 to a pixel at 96 DPI).
constexpr TwipsSize kClientSize = {5055, 4680};

// The picture (335 x 228 pixels) fills this box at the top left corner of the client area: at
// 96 DPI pixel for pixel.
constexpr TwipsBox kPictureBox = {0, 0, 5025, 3420};
// What the picture shows, for a screen reader: "a web page in IE whose pictures do not show".
constexpr wchar_t kPictureDescription[] = L"IE 网页中图片无法显示的样子";

constexpr TwipsBox kLabel1Box = {120, 3480, 4815, 1095};
constexpr COLORREF kLabel1Colour = RGB(0xFF, 0x00, 0x00);
constexpr wchar_t kLabel1Face[] = L"宋体";  // SimSun
constexpr int kLabel1TenthsOfPoint = 105;

// Per-window state; the font and boxes are those of the DPI the window is laid out at.
struct Form2State : FormState {
  win::Bitmap picture{static_cast<HBITMAP>(LoadImageW(
      AppInstance(), MAKEINTRESOURCEW(IDB_INSTRUCTIONS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))};
  win::Font labelFont;
  PixelBox pictureBox{};
  PixelBox labelBox{};
  // Brings back the window that opened this one, as it closes; null: nothing comes back.
  ShowOpener showOpener = nullptr;
};

Form2State* StateOf(HWND form) { return FormHost::StateOf<Form2State>(form); }

SIZE ClientSizeAt(int dpi) { return PixelsAt(kClientSize, dpi); }

void LayOut(HWND form) {
  Form2State* state = StateOf(form);
  if (state == nullptr) return;
  const int dpi = state->dpi();
  state->labelFont = CreateLabelFont(kLabel1Face, kLabel1TenthsOfPoint, FW_NORMAL, false, dpi);
  state->pictureBox = PixelsAt(kPictureBox, dpi);
  state->labelBox = PixelsAt(kLabel1Box, dpi);
}

void PaintForm(HWND form, HDC dc) {
  const Form2State* state = StateOf(form);
  if (state == nullptr) return;
  DrawPictureInBox(dc, state->picture.get(), state->pictureBox);
  DrawPaintedLabel(dc, state->labelBox, kLabel1Text, state->labelFont.get(),
                   PaintedTextColour(kLabel1Colour));
}

// What a screen reader finds, in reading order: the picture, then the paragraph under it.
bool AccessibleItems(HWND form, std::vector<AccessibleItem>& items) {
  const Form2State* state = StateOf(form);
  if (state == nullptr) return false;
  items.push_back({.role = ROLE_SYSTEM_GRAPHIC,
                   .name = kPictureDescription,
                   .box = state->pictureBox,
                   .state = STATE_SYSTEM_READONLY});
  items.push_back({.role = ROLE_SYSTEM_STATICTEXT,
                   .name = std::wstring(kLabel1Text),
                   .box = state->labelBox,
                   .state = STATE_SYSTEM_READONLY});
  return true;
}

INT_PTR OnInitDialog(HWND form) {
  LayOut(form);
  if (const Form2State* state = StateOf(form)) {
    SizeClientAndCentre(form, ClientSizeAt(state->dpi()), state->dpi());
  }
  return TRUE;
}

// The system's colours or settings changed (a high-contrast scheme on or off): the paragraph takes
// its colour for the scheme. The dialog's own handling goes on.
INT_PTR OnMessage(HWND form, UINT message, WPARAM, LPARAM) {
  if (message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE) {
    InvalidateRect(form, nullptr, TRUE);
  }
  return FALSE;
}

constexpr FormEvents kEvents = {
    .templateId = IDD_FORM2,
    .createState = NewFormState<Form2State>,
    .load = OnInitDialog,
    .paint = PaintForm,
    .clientSizeAt = ClientSizeAt,
    .layOut = LayOut,
    .queryUnload = Form_QueryUnload,
    .message = OnMessage,
    .accessibleItems = AccessibleItems,
};

FormHost host(kEvents);

}  // namespace

HWND Show(ShowOpener showOpener) {
  HWND form = host.Show();
  if (Form2State* state = StateOf(form)) state->showOpener = showOpener;
  return form;
}

void Unload() { host.Unload(); }

HWND Window() { return host.Window(); }

void Form_QueryUnload(HWND form) {
  const Form2State* state = StateOf(form);
  if (state != nullptr && state->showOpener != nullptr) state->showOpener();
}

}  // namespace app::form2
