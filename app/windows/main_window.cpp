#include "app/windows/main_window.h"

#include <windowsx.h>

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "accessible/accessible_base.h"
#include "app/repair/inline_image_commands.h"
#include "app/system/forum_link.h"
#include "app/system/shell_restart.h"
#include "app/windows/accessible_window.h"
#include "app/windows/form_host.h"
#include "app/windows/form_setup.h"
#include "app/windows/frame_control.h"
#include "app/windows/instructions_window.h"
#include "app/windows/link_label.h"
#include "app/windows/main_window_layout.h"
#include "app/windows/painted_label.h"
#include "app/windows/resource_ids.h"
#include "app/windows/startup_stages.h"
#include "app/windows/status_commands.h"
#include "app/windows/twips_layout.h"
#include "skin/engine/high_contrast.h"
#include "skin/engine/skin_engine.h"

namespace app::form1 {
namespace {

constexpr COLORREF kFrameCaptionColour = RGB(0xFF, 0x00, 0xFF);
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

// Label2, the name of the maker's community.
constexpr COLORREF kLabel2Colour = RGB(0x00, 0x40, 0x40);
// SimHei (黑体) is an optional font on Windows 10 and 11 outside their Chinese editions; where it
// is missing, Microsoft YaHei, a Chinese sans with a true bold that every Windows 10 and 11 has,
// stands in for it rather than whatever the font mapper would pick.
constexpr LabelFace kLabel2Face = {L"黑体", L"SimHei", L"Microsoft YaHei"};
constexpr int kLabel2TenthsOfPoint = 120;

// Label3, the link to the forum.
constexpr COLORREF kLinkColour = RGB(0x00, 0x00, 0xFF);
constexpr wchar_t kLabel3Face[] = L"宋体";  // SimSun
constexpr int kLabel3TenthsOfPoint = 120;

// Posted by the link's accessible default action: the forum opens from the message loop, after
// the reader's call has returned.
constexpr UINT kOpenForumMessage = WM_APP + 1;

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

// Per-window state, owned by the window from WM_INITDIALOG to WM_NCDESTROY. The fonts and
// boxes are those of the DPI the window is laid out at.
struct Form1State : FormState {
  win::Font commandFont;  // the frame's, the buttons' and the tooltip's
  StatusTooltip statusTooltip;
  win::Font label2Font;
  PixelBox label2Box{};
  LinkLabel link{kForumAddress, kLabel3Face, kLabel3TenthsOfPoint, kLinkColour};
};

Form1State* StateOf(HWND form) { return FormHost::StateOf<Form1State>(form); }

POINT PointFrom(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

SIZE ClientSizeAt(int dpi) { return PixelsAt(kClientSize, dpi); }

// The accessible description of a skinned push button: the setting now for the repair commands of
// the loaded main window, nothing for any other button.
std::wstring DescribeButton(HWND button) { return DescribeStatusCommand(Window(), button); }

// The frame and the buttons are placed by LayOut.
void CreateChildren(HWND form) {
  HWND frame = CreateFrame(form, IDC_FRAME2, kFrameCaption, {}, kFrameCaptionColour);
  for (const ButtonLayout& button : kButtons) {
    CreateWindowExW(0, L"Button", button.caption, kButtonStyle, 0, 0, 0, 0, frame,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)), AppInstance(),
                    nullptr);
  }
}

void MoveChild(HWND child, const PixelBox& box) {
  SetWindowPos(child, nullptr, box.left, box.top, box.width, box.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// Places the frame, the buttons and the labels and makes the fonts at the window's DPI. A
// control gets its new font before it is resized (the skin renders a button's faces again on
// resize) and the old font is deleted only after every control has let go of it.
void LayOut(HWND form) {
  Form1State* state = StateOf(form);
  if (state == nullptr) return;
  const int dpi = state->dpi();
  win::Font commandFont = CreateCommandFont(dpi);
  const auto font = reinterpret_cast<WPARAM>(commandFont.get());
  HWND frame = GetDlgItem(form, IDC_FRAME2);
  SendMessageW(frame, WM_SETFONT, font, FALSE);
  SetFrameDpi(frame, dpi);
  MoveChild(frame, PixelsAt(kFrameBox, dpi));
  for (const ButtonLayout& button : kButtons) {
    HWND child = GetDlgItem(frame, button.id);
    SendMessageW(child, WM_SETFONT, font, FALSE);
    MoveChild(child, PixelsAt(button.box, dpi));
  }
  state->statusTooltip.SetDpi(commandFont.get(), dpi);
  state->commandFont = std::move(commandFont);
  state->label2Font =
      CreateLabelFont(ChooseLabelFace(kLabel2Face), kLabel2TenthsOfPoint, FW_BOLD, false, dpi);
  state->label2Box = PixelsAt(kLabel2Box, dpi);
  state->link.LayOut(PixelsAt(kLabel3Box, dpi), dpi);
}

void PaintLabels(HWND form, HDC dc) {
  const Form1State* state = StateOf(form);
  if (state == nullptr) return;
  DrawPaintedLabel(dc, state->label2Box, kCommunityName, state->label2Font.get(),
                   PaintedTextColour(kLabel2Colour));
  state->link.Draw(dc);
  MarkStartupStage(StartupStage::kFirstPaint);
}

void InvalidateLink(HWND form, const LinkLabel& link) {
  const RECT painted = link.PaintedRect(form);
  InvalidateRect(form, &painted, TRUE);
}

INT_PTR OnInitDialog(HWND form) {
  MarkStartupStage(StartupStage::kDialogCreated);
  CreateChildren(form);
  LayOut(form);
  if (const Form1State* state = StateOf(form)) {
    SizeClientAndCentre(form, ClientSizeAt(state->dpi()), state->dpi());
  }
  MarkStartupStage(StartupStage::kLaidOut);
  Form_Load(form);
  MarkStartupStage(StartupStage::kSkinned);
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

// The tooltip is about to show over a repair command: it says how the setting is at this moment.
INT_PTR OnNotify(HWND form, LPARAM lParam) {
  Form1State* state = StateOf(form);
  return state != nullptr && state->statusTooltip.AnswerTextRequest(form, lParam) ? TRUE : FALSE;
}

INT_PTR OnMouseMove(HWND form, POINT point) {
  const Form1State* state = StateOf(form);
  if (state == nullptr) return TRUE;
  if (state->link.box().Contains(point)) {
    Label3_MouseMove(form);
  } else if (!state->label2Box.Contains(point)) {
    Form_MouseMove(form);
  }
  return TRUE;
}

// Every mouse message over the window and its controls comes here first, as the platform asks the
// window which cursor to show: the tooltip hears of it, and the hand stays over the link between
// mouse moves instead of letting the class cursor flash.
INT_PTR OnSetCursor(HWND form, HWND under, int hitTest, UINT mouseMessage) {
  Form1State* state = StateOf(form);
  if (state != nullptr) {
    state->statusTooltip.Feed(form, under, mouseMessage, state->commandFont.get(), state->dpi());
  }
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(form, &point);
  if (under != form || hitTest != HTCLIENT || state == nullptr ||
      !state->link.box().Contains(point)) {
    return FALSE;
  }
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
// runs and comes back after it, and the painted texts take their colours for the scheme. The
// dialog's own handling goes on.
INT_PTR OnSystemLookChange(HWND form) {
  skin::SkinFollowHighContrast(form);
  AnnotateStatusCommands(form, skin::HighContrastOn() ? DescribeButton : nullptr);
  RedrawWindow(form, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
  return FALSE;
}

// Puts the focus on the first command once the window is visible.
void FocusFirstCommand(HWND form) {
  HWND first = GetNextDlgTabItem(form, nullptr, FALSE);
  if (first != nullptr) SendMessageW(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

// The link's accessible default action. The accDoDefaultAction documentation asks servers to
// return at once rather than run what the action starts (its example posts a message), so the
// click is posted, as the push buttons post theirs: a box the launch may show then runs from the
// program's message loop, not inside the reader's call.
void PostLinkClick(HWND form) { PostMessageW(form, kOpenForumMessage, 0, 0); }

// The posted click arrives: it opens the forum if a person could click the link now.
INT_PTR OnOpenForumPosted(HWND form) {
  if (accessible::AccessibleBase::TakesInput(form)) Label3_Click(form);
  return TRUE;
}

// What a screen reader finds, in reading order: the frame with the commands (it answers for
// itself), the community name and the link, whose default action is a click.
bool AccessibleItems(HWND form, std::vector<AccessibleItem>& items) {
  const Form1State* state = StateOf(form);
  if (state == nullptr) return false;
  items.push_back({.window = GetDlgItem(form, IDC_FRAME2)});
  items.push_back({.role = ROLE_SYSTEM_STATICTEXT,
                   .name = std::wstring(kCommunityName),
                   .box = state->label2Box,
                   .state = STATE_SYSTEM_READONLY});
  items.push_back({.role = ROLE_SYSTEM_LINK,
                   .name = std::wstring(kForumAddress),
                   .box = state->link.box(),
                   .state = STATE_SYSTEM_LINKED,
                   .value = ForumPageAddress(),
                   .defaultAction = kLinkAction,
                   .doDefaultAction = PostLinkClick});
  return true;
}

// The messages of Form1 beyond those every form handles (see app/windows/form_host.h).
INT_PTR OnMessage(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(form, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      return OnNotify(form, lParam);
    case WM_MOUSEMOVE:
      return OnMouseMove(form, PointFrom(lParam));
    case WM_SETCURSOR:
      return OnSetCursor(form, reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_LBUTTONDOWN:
      return OnLButtonDown(form, PointFrom(lParam));
    case WM_LBUTTONUP:
      return OnLButtonUp(form, PointFrom(lParam));
    case WM_SETTINGCHANGE:
      return OnSystemLookChange(form);
    case WM_SYSCOLORCHANGE:
      return OnSystemLookChange(form);
    case kOpenForumMessage:
      return OnOpenForumPosted(form);
    default:
      return FALSE;
  }
}

constexpr FormEvents kEvents = {
    .templateId = IDD_FORM1,
    .createState = NewFormState<Form1State>,
    .load = OnInitDialog,
    .paint = PaintLabels,
    .clientSizeAt = ClientSizeAt,
    .layOut = LayOut,
    .shown = FocusFirstCommand,
    .deferClose = CloseAfterRunningCommand,
    .unload = Form_Unload,
    .message = OnMessage,
    .accessibleItems = AccessibleItems,
};

FormHost host(kEvents);

}  // namespace

HWND Show() { return host.Show(); }

void Unload() { host.Unload(); }

HWND Window() { return host.Window(); }

// Runs once the window and all its controls exist, sized and centred, before it is shown:
// gives the link its initial, underlined look and puts the skin on the window and everything in
// it, the repair commands' descriptions included (by annotation while the skin stands aside).
void Form_Load(HWND form) {
  if (Form1State* state = StateOf(form)) state->link.SetUnderlined(true);
  skin::SkinSetButtonDescriptionSource(DescribeButton);
  skin::SkinInstall(form);
  AnnotateStatusCommands(form, skin::HighContrastOn() ? DescribeButton : nullptr);
}

// Runs while the window and its controls still exist, just before they are destroyed: takes the
// skin and the description annotations off again.
void Form_Unload(HWND form) {
  AnnotateStatusCommands(form, nullptr);
  skin::SkinRemove(form);
  form2::Unload();
}

void Command1_Click(HWND form) {
  const RunningCommand running(form);
  if (running.started()) ConfirmAndRestartShell(form);
}

void Command4_Click(HWND form) {
  const RunningCommand running(form);
  if (!running.started()) return;
  Unload();
  form2::Show(form1::Show);
}

// The link is a command like the buttons: its call dispatches messages and may end in a box, and a
// close request that comes meanwhile waits until the box is answered.
void Label3_Click(HWND form) {
  const RunningCommand running(form);
  if (running.started()) OpenForum(form);
}

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
