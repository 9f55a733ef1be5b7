// The benchmark's bare dialog: what the platform alone takes to show a dialog like the main
// window. The same template frame and caption, a group box, the four command buttons and the two
// labels as plain platform controls, at the main window's pixel sizes for the system DPI, centred,
// with the focus on the first command. It loads nothing beyond what its controls need, and ends
// when it is closed.

#include <windows.h>

#include <string>

#include "app/system/forum_link.h"
#include "app/windows/main_window_layout.h"
#include "win/dpi.h"

namespace {

constexpr int kTemplateId = 1;
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE;

HWND AddChild(HWND dialog, const wchar_t* className, const wchar_t* text, DWORD style,
              const app::PixelBox& box) {
  HWND child = CreateWindowExW(0, className, text, kChildStyle | style, box.left, box.top,
                               box.width, box.height, dialog, nullptr, nullptr, nullptr);
  SendMessageW(child, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  return child;
}

void AddControls(HWND dialog, int dpi) {
  using namespace app::form1;
  const app::PixelBox frame = app::PixelsAt(kFrameBox, dpi);
  AddChild(dialog, L"Button", kFrameCaption, BS_GROUPBOX, frame);
  for (const ButtonLayout& button : kButtons) {
    app::PixelBox box = app::PixelsAt(button.box, dpi);
    box.left += frame.left;
    box.top += frame.top;
    AddChild(dialog, L"Button", button.caption, WS_TABSTOP | BS_PUSHBUTTON, box);
  }
  const std::wstring community(kCommunityName);
  const std::wstring forum(app::kForumAddress);
  AddChild(dialog, L"Static", community.c_str(), SS_LEFT, app::PixelsAt(kLabel2Box, dpi));
  AddChild(dialog, L"Static", forum.c_str(), SS_LEFT, app::PixelsAt(kLabel3Box, dpi));
}

void SizeAndCentre(HWND dialog, int dpi) {
  const SIZE client = app::PixelsAt(app::form1::kClientSize, dpi);
  RECT box{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&box, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      const int dpi = win::ScreenDpi();
      AddControls(dialog, dpi);
      SizeAndCentre(dialog, dpi);
      return TRUE;  // the focus on the first tab stop, the first command
    }
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  DialogBoxParamW(instance, MAKEINTRESOURCEW(kTemplateId), nullptr, DialogProc, 0);
  return 0;
}
