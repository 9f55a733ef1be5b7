#include "app/windows/frame_control.h"

#include <string>

#include "app/windows/accessible_window.h"
#include "app/windows/form_setup.h"
#include "app/windows/painted_label.h"
#include "win/callback_barrier.h"
#include "win/dpi.h"
#include "win/unique_handle.h"

namespace app {
namespace {

// Window extra bytes: the font set with WM_SETFONT, the caption colour, the DPI.
constexpr int kFontSlot = 0;
constexpr int kColourSlot = static_cast<int>(sizeof(LONG_PTR));
constexpr int kDpiSlot = 2 * static_cast<int>(sizeof(LONG_PTR));
constexpr int kExtraBytes = 3 * static_cast<int>(sizeof(LONG_PTR));

HFONT FrameFont(HWND frame) { return reinterpret_cast<HFONT>(GetWindowLongPtrW(frame, kFontSlot)); }

COLORREF CaptionColour(HWND frame) {
  return static_cast<COLORREF>(GetWindowLongPtrW(frame, kColourSlot));
}

int FrameDpi(HWND frame) { return static_cast<int>(GetWindowLongPtrW(frame, kDpiSlot)); }

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void PaintFrame(HWND frame, HDC dc) {
  const std::wstring caption = WindowText(frame);
  win::DcStateGuard state(dc);
  win::SelectGuard selectFont(
      dc, FrameFont(frame) ? FrameFont(frame) : GetStockObject(DEFAULT_GUI_FONT));

  SIZE textSize{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &textSize);
  RECT client{};
  GetClientRect(frame, &client);

  // The etched edge runs through the middle of the caption line.
  RECT edge = client;
  edge.top = textSize.cy / 2;
  DrawEtchedEdge(dc, edge, win::WholeFactorForDpi(FrameDpi(frame)));

  if (caption.empty()) return;
  const int indent = win::TwipsToPixels(kFrameCaptionIndentTwips, FrameDpi(frame));
  const int gap = win::TwipsToPixels(kFrameCaptionGapTwips, FrameDpi(frame));
  RECT captionBox = {indent, 0, indent + textSize.cx + 2 * gap, textSize.cy};
  FillRect(dc, &captionBox, GetSysColorBrush(COLOR_3DFACE));
  SetTextColor(dc, PaintedTextColour(CaptionColour(frame)));
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, indent + gap, 0, caption.c_str(), static_cast<int>(caption.size()));
}

LRESULT OnPaint(HWND frame) {
  win::PaintDc paint(frame);
  PaintFrame(frame, paint.get());
  return 0;
}

LRESULT OnPrintClient(HWND frame, HDC dc) {
  PaintFrame(frame, dc);
  return 0;
}

LRESULT OnSetFont(HWND frame, WPARAM font, LPARAM redraw) {
  SetWindowLongPtrW(frame, kFontSlot, static_cast<LONG_PTR>(font));
  if (LOWORD(redraw)) InvalidateRect(frame, nullptr, TRUE);
  return 0;
}

LRESULT OnSetText(HWND frame, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProcW(frame, WM_SETTEXT, wParam, lParam);
  InvalidateRect(frame, nullptr, TRUE);
  return result;
}

// For a screen reader the frame is a group named by its caption, holding the commands.
LRESULT OnGetObject(HWND frame, WPARAM wParam, LPARAM objectId) {
  const LRESULT object =
      AnswerAccessibleObject(frame, wParam, objectId, ROLE_SYSTEM_GROUPING, ChildWindowItems);
  return object != 0 ? object : DefWindowProcW(frame, WM_GETOBJECT, wParam, objectId);
}

LRESULT ForwardToParent(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(GetParent(frame), message, wParam, lParam);
}

LRESULT HandleFrameMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPaint(frame);
    case WM_PRINTCLIENT:
      return OnPrintClient(frame, reinterpret_cast<HDC>(wParam));
    case WM_SETFONT:
      return OnSetFont(frame, wParam, lParam);
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(FrameFont(frame));
    case WM_SETTEXT:
      return OnSetText(frame, wParam, lParam);
    case WM_GETOBJECT:
      return OnGetObject(frame, wParam, lParam);
    case WM_NCDESTROY:
      ReleaseAccessibleObject(frame);
      return DefWindowProcW(frame, message, wParam, lParam);
    case WM_COMMAND:
    case WM_NOTIFY:
      return ForwardToParent(frame, message, wParam, lParam);
    default:
      return DefWindowProcW(frame, message, wParam, lParam);
  }
}

// A message whose handling fails with an exception (an allocation) ends with 0 here, rather than
// unwinding through user32's frames.
LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  return win::CallGuarded(LRESULT{0},
                          [&] { return HandleFrameMessage(frame, message, wParam, lParam); });
}

}  // namespace

void RegisterFrameClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(AppInstance(), kFrameClassName, &existing)) return;

  WNDCLASSEXW frameClass{};
  frameClass.cbSize = sizeof(frameClass);
  frameClass.lpfnWndProc = FrameProc;
  frameClass.cbWndExtra = kExtraBytes;
  frameClass.hInstance = AppInstance();
  frameClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
  frameClass.lpszClassName = kFrameClassName;
  RegisterClassExW(&frameClass);
}

HWND CreateFrame(HWND parent, int id, const wchar_t* caption, const RECT& rect,
                 COLORREF captionColour) {
  RegisterFrameClass();
  HWND frame =
      CreateWindowExW(WS_EX_CONTROLPARENT, kFrameClassName, caption,
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect.left,
                      rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance(), nullptr);
  if (frame != nullptr) {
    SetWindowLongPtrW(frame, kColourSlot, static_cast<LONG_PTR>(captionColour));
    SetWindowLongPtrW(frame, kDpiSlot, win::kDefaultDpi);
  }
  return frame;
}

void DrawEtchedEdge(HDC dc, const RECT& rect, int lineWidth) {
  const int k = lineWidth;
  const LONG l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  const HBRUSH shadow = GetSysColorBrush(COLOR_3DSHADOW);
  const HBRUSH highlight = GetSysColorBrush(COLOR_3DHILIGHT);
  // The outer line: shadow at the top and left, highlight at the bottom and right, which reach
  // the corners.
  const RECT outerShadow[] = {{l, t, r - k, t + k}, {l, t, l + k, b - k}};
  const RECT outerHighlight[] = {{l, b - k, r, b}, {r - k, t, r, b}};
  // The inner line, one line width in: highlight at the top and left, shadow at the bottom and
  // right.
  const RECT innerHighlight[] = {{l + k, t + k, r - 2 * k, t + 2 * k},
                                 {l + k, t + k, l + 2 * k, b - 2 * k}};
  const RECT innerShadow[] = {{l + k, b - 2 * k, r - k, b - k}, {r - 2 * k, t + k, r - k, b - k}};
  for (const RECT& line : outerShadow) FillRect(dc, &line, shadow);
  for (const RECT& line : outerHighlight) FillRect(dc, &line, highlight);
  for (const RECT& line : innerHighlight) FillRect(dc, &line, highlight);
  for (const RECT& line : innerShadow) FillRect(dc, &line, shadow);
}

void SetFrameDpi(HWND frame, int dpi) {
  SetWindowLongPtrW(frame, kDpiSlot, dpi);
  InvalidateRect(frame, nullptr, TRUE);
}

}  // namespace app
