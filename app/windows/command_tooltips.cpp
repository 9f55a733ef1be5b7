#include "app/windows/command_tooltips.h"

#include <windowsx.h>

#include "win/dll_search.h"
#include "win/dpi.h"

namespace app {
namespace {

constexpr DWORD kTooltipStyle = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;

// The widest line of a tooltip, in twips: a longer text is wrapped.
constexpr int kMaxTipWidthTwips = 4350;

// Loads comctl32 from the system directory and registers its tooltip class, once. A program
// without a manifest for version 6 gets version 5 of the control, whose tool description is
// the shorter one of TTTOOLINFOW_V2_SIZE.
bool TooltipClassReady() {
  static const bool ready = [] {
    const HMODULE comctl32 = win::LoadSystemLibrary(L"comctl32.dll");  // kept for the process
    const auto initialise =
        win::ModuleFunction<decltype(&InitCommonControlsEx)>(comctl32, "InitCommonControlsEx");
    if (initialise == nullptr) return false;
    const INITCOMMONCONTROLSEX classes = {sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    return initialise(&classes) != FALSE;
  }();
  return ready;
}

}  // namespace

HWND CreateFormTooltip(HWND form) {
  if (!TooltipClassReady()) return nullptr;
  return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, kTooltipStyle, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(form, GWLP_HINSTANCE)),
                         nullptr);
}

bool AddTooltipTool(HWND tooltip, HWND form, HWND tool) {
  if (tooltip == nullptr || tool == nullptr) return false;
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND;
  info.hwnd = form;  // receives TTN_GETDISPINFOW
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = LPSTR_TEXTCALLBACKW;
  return SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void RelayToTooltip(HWND tooltip, HWND window, UINT mouseMessage) {
  if (tooltip == nullptr || window == nullptr) return;
  const DWORD position = GetMessagePos();
  MSG message{};
  message.hwnd = window;
  message.message = mouseMessage;
  message.time = static_cast<DWORD>(GetMessageTime());
  message.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  POINT client = message.pt;
  ScreenToClient(window, &client);
  message.lParam = MAKELPARAM(client.x, client.y);
  SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

void SetTooltipDpi(HWND tooltip, HFONT font, int dpi) {
  if (tooltip == nullptr) return;
  SendMessageW(tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, win::TwipsToPixels(kMaxTipWidthTwips, dpi));
}

NMTTDISPINFOW* TooltipTextRequest(HWND tooltip, LPARAM lParam) {
  auto* request = reinterpret_cast<NMTTDISPINFOW*>(lParam);
  if (tooltip == nullptr || request == nullptr || request->hdr.hwndFrom != tooltip ||
      request->hdr.code != TTN_GETDISPINFOW) {
    return nullptr;
  }
  return request;
}

}  // namespace app
