#include "skin/graphics/primitives.h"

#include <vector>

#include "skin/graphics/gdi_handles.h"
#include "win/dpi.h"
#include "win/rounding.h"

namespace skin {
namespace {

RECT MakeRect(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

}  // namespace

std::wstring GetWindowCaption(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(hwnd, buffer.data(), length + 1);
  if (copied <= 0) return {};
  return std::wstring(buffer.data(), static_cast<size_t>(copied));
}

int DrawTextBox(HDC hdc, const std::wstring& text, int x, int y, int width, int height,
                UINT format) {
  RECT rect = MakeRect(x, y, width, height);
  return DrawTextW(hdc, text.c_str(), -1, &rect, format);
}

int FillSolid(HDC hdc, int x, int y, int width, int height, COLORREF colour) {
  RECT rect = MakeRect(x, y, width, height);
  gdi::Brush brush(CreateSolidBrush(colour));
  if (!brush) return 0;
  return FillRect(hdc, &rect, brush.get());
}

int FrameSolid(HDC hdc, int x, int y, int width, int height, COLORREF colour) {
  RECT rect = MakeRect(x, y, width, height);
  gdi::Brush brush(CreateSolidBrush(colour));
  if (!brush) return 0;
  return FrameRect(hdc, &rect, brush.get());
}

int DrawFocusBox(HDC hdc, int x, int y, int width, int height) {
  RECT rect = MakeRect(x, y, width, height);
  return DrawFocusRect(hdc, &rect);
}

int GetWindowBounds(HWND hwnd, WindowBounds& bounds) {
  RECT rect{};
  BOOL result = GetWindowRect(hwnd, &rect);
  bounds = {
      rect.left, rect.top, rect.right, rect.bottom, rect.right - rect.left, rect.bottom - rect.top};
  return result;
}

int GetBorderInsets(HWND hwnd, int& insetX, int& insetY) {
  RECT window{};
  RECT client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  int dx = (window.right - window.left) - (client.right - client.left);
  int dy = (window.bottom - window.top) - (client.bottom - client.top);
  LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  if ((style & WS_VSCROLL) != 0) dx -= GetSystemMetrics(SM_CXVSCROLL);
  if ((style & WS_HSCROLL) != 0) dy -= GetSystemMetrics(SM_CYHSCROLL);
  // Half of each, a half pixel going to the even neighbour.
  insetX = win::RoundHalfToEven(dx / 2.0);
  insetY = win::RoundHalfToEven(dy / 2.0);
  return 1;
}

int GetSystemMetricForDpi(int index, int dpi) {
  using ForDpiFunction = int(WINAPI*)(int, UINT);
  static const auto forDpi = win::User32Function<ForDpiFunction>("GetSystemMetricsForDpi");
  if (forDpi != nullptr) return forDpi(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, win::ScreenDpi());
}

}  // namespace skin
