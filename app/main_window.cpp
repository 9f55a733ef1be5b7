#include "app/main_window.h"

#include <windowsx.h>

#include <memory>
#include <string_view>

#include "app/form_host.h"
#include "app/forum_link.h"
#include "app/form_setup.h"
#include "app/frame_control.h"
#include "app/inline_image_commands.h"
#include "app/instructions_window.h"
#include "app/link_label.h"
#include "app/painted_label.h"
#include "app/resource_ids.h"
#include "app/shell_restart.h"
#include "skin/engine/high_contrast.h"
#include "skin/engine/skin_engine.h"

namespace app::form1 {
namespace {

// The frame around the commands; its caption reads "operations".
constexpr wchar_t kFrameCaption[] = L"操作功能";
constexpr RECT kFrameRect = {8, 8, 8 + 273, 8 + 113};
constexpr COLORREF kFrameCaptionColour = RGB(0xFF, 0x00, 0xFF);

// The command buttons inside the frame, in frame client coordinates, in Tab order.
struct ButtonLayout {
  int id;
  const wchar_t* caption;
  PixelBox box;
};
constexpr ButtonLayout kButtons[] = {
    {IDC_COMMAND2, L"显示内嵌图片", {8, 16, 257, 25}},    // show inline images
    {IDC_COMMAND3, L"关闭内嵌图片", {8, 48, 257, 25}},    // turn inline images off
    {IDC_COMMAND1, L"刷新后马上生效", {8, 80, 121, 25}},  // refresh, takes effect at once
    {IDC_COMMAND4, L"说明", {136, 80, 129, 25}},          // instructions
};
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

// Label2: the name of the maker's community.
constexpr std::wstring_view kCommunityName = L"Quenlit";
constexpr PixelBox kLabel2Box = {8, 128, 87, 16};
constexpr COLORREF kLabel2Colour = RGB(0x00, 0x40, 0x40);
constexpr wchar_t kLabel2Face[] = L"黑体";  // SimHei
constexpr int kLabel2TenthsOfPoint = 120;

// Label3: the link to the forum.
constexpr PixelBox kLabel3Box = {96, 128, 185, 16};
constexpr COLORREF kLinkColour = RGB(0x00, 0x00, 0xFF);
constexpr wchar_t kLabel3Face[] = L"宋体";  // SimSun
constexpr int kLabel3TenthsOfPoint = 120;

// What a click on a command button does, one line per command.
struct CommandBinding {
  int id;
  void (*handler)(HWND form);
};
constexpr CommandBinding kCommandBindings[] = {
    {IDC_COMMAND2, Command2_Click},
    {IDC_COMMAND3, Command3_Click},
    {IDC_COMMAND1, Command1_Click},
    {IDC_COMMAND4, Command4_Click},
};

// Per-window state, owned by the window from WM_INITDIALOG to WM_NCDESTROY.
struct Form1State : FormState {
  win::Font label2Font = CreateLabelFont(kLabel2Face, kLabel2TenthsOfPoint, FW_BOLD, false);
  LinkLabel link{kLabel3Box, kForumAddress, kLabel3Face, kLabel3TenthsOfPoint, kLinkColour};
};

Form1State* StateOf(HWND form) { return FormHost::StateOf<Form1State>(form); }

POINT PointFrom(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

void CreateChildren(HWND form) {
  const auto font = static_cast<WPARAM>(SendMessageW(form, WM_GETFONT, 0, 0));
  HWND frame = CreateFrame(form, IDC_FRAME2, kFrameCaption, kFrameRect, kFrameCaptionColour);
  SendMessageW(frame, WM_SETFONT, font, FALSE);
  for (const ButtonLayout& button : kButtons) {
    HWND child = CreateWindowExW(0, L"Button", button.caption, kButtonStyle, button.box.left,
                                 button.box.top, button.box.width, button.box.height, frame,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)),
                                 AppInstance(), nullptr);
    SendMessageW(child, WM_SETFONT, font, FALSE);
  }
}

void PaintLabels(HWND form, HDC dc) {
  const Form1State* state = StateOf(form);
  if (state == nullptr) return;
  DrawPaintedLabel(dc, kLabel2Box, kCommunityName, state->label2Font.get(), kLabel2Colour);
  state->link.Draw(dc);
}

void InvalidateLink(HWND form, const LinkLabel& link) {
  const RECT painted = link.PaintedRect(form);
  InvalidateRect(form, &painted, TRUE);
}

INT_PTR OnInitDialog(HWND form) {
  CreateChildren(form);
  SizeClientAndCentre(form, kClientWidth, kClientHeight);
  Form_Load(form);
  return FALSE;  // Show() puts the focus on the first command once the window is visible
}

INT_PTR OnCommand(HWND form, int id, int notification) {
  if (notification != BN_CLICKED) return FALSE;
  for (const CommandBinding& binding : kCommandBindings) {
    if (binding.id == id) {
      binding.handler(form);
      return TRUE;
    }
  }
  return FALSE;
}

INT_PTR OnMouseMove(HWND form, POINT point) {
  if (kLabel3Box.Contains(point)) {
    Label3_MouseMove(form);
  } else if (!kLabel2Box.Contains(point)) {
    Form_MouseMove(form);
  }
  return TRUE;
}

// Keeps the hand over the link between mouse moves instead of letting the class cursor flash.
INT_PTR OnSetCursor(HWND form, HWND under, int hitTest) {
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(form, &point);
  if (under != form || hitTest != HTCLIENT || !kLabel3Box.Contains(point)) return FALSE;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  SetWindowLongPtrW(form, DWLP_MSGRESULT, TRUE);
  return TRUE;
}

INT_PTR OnLButtonDown(HWND form, POINT point) {
  if (Form1State* state = StateOf(form)) state->link.Press(point);
  return TRUE;
}

INT_PTR OnLButtonUp(HWND form, POINT point) {
  Form1State* state = StateOf(form);
  if (state != nullptr && state->link.Release(point)) Label3_Click(form);
  return TRUE;
}

// The system's colours or settings changed: the skin steps aside while a high-contrast scheme
// runs and comes back after it. The dialog's own handling goes on.
INT_PTR OnSystemLookChange(HWND form) {
  skin::SkinFollowHighContrast(form);
  return FALSE;
}

// Puts the focus on the first command once the window is visible.
void FocusFirstCommand(HWND form) {
  HWND first = GetNextDlgTabItem(form, nullptr, FALSE);
  if (first != nullptr) SendMessageW(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

// The messages of Form1 beyond those every form handles (see form_host.h).
INT_PTR OnMessage(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(form, LOWORD(wParam), HIWORD(wParam));
    case WM_MOUSEMOVE:
      return OnMouseMove(form, PointFrom(lParam));
    case WM_SETCURSOR:
      return OnSetCursor(form, reinterpret_cast<HWND>(wParam), LOWORD(lParam));
    case WM_LBUTTONDOWN:
      return OnLButtonDown(form, PointFrom(lParam));
    case WM_LBUTTONUP:
      return OnLButtonUp(form, PointFrom(lParam));
    case WM_SETTINGCHANGE:
      return OnSystemLookChange(form);
    case WM_SYSCOLORCHANGE:
      return OnSystemLookChange(form);
    default:
      return FALSE;
  }
}

constexpr FormEvents kEvents = {
    .templateId = IDD_FORM1,
    .createState = NewFormState<Form1State>,
    .load = OnInitDialog,
    .paint = PaintLabels,
    .shown = FocusFirstCommand,
    .unload = Form_Unload,
    .message = OnMessage,
};

FormHost host(kEvents);

}  // namespace

HWND Show() { return host.Show(); }

void Unload() { host.Unload(); }

HWND Window() { return host.Window(); }

// Runs once the window and all its controls exist, sized and centred, before it is shown:
// gives the window the program's icon and the link its initial, underlined look, and puts the
// skin on the window and everything in it.
void Form_Load(HWND form) {
  SetProgramIcon(form);
  if (Form1State* state = StateOf(form)) state->link.SetUnderlined(true);
  skin::SkinInstall(form);
}

// Runs while the window and its controls still exist, just before they are destroyed: takes the
// skin off again.
void Form_Unload(HWND form) {
  skin::SkinRemove(form);
  form2::Unload();
}

void Command1_Click(HWND form) { ConfirmAndRestartShell(form); }

void Command4_Click(HWND) {
  Unload();
  form2::Show();
}

void Label3_Click(HWND) { OpenForum(); }

// The pointer is over the link: plain text in the link colour, and the hand cursor.
void Label3_MouseMove(HWND form) {
  Form1State* state = StateOf(form);
  if (state == nullptr) return;
  if (state->link.SetUnderlined(false)) InvalidateLink(form, state->link);
  state->link.SetColour(kLinkColour);
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
}

// The pointer is over the bare window: the link is underlined again; its colour stays.
void Form_MouseMove(HWND form) {
  Form1State* state = StateOf(form);
  if (state != nullptr && state->link.SetUnderlined(true)) InvalidateLink(form, state->link);
}

}  // namespace app::form1
