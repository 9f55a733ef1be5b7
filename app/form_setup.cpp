#include "app/form_setup.h"

#include <cwchar>

#include "app/resource_ids.h"
#include "win/rounding.h"

namespace app {

HINSTANCE AppInstance() { return GetModuleHandleW(nullptr); }

void SizeClientAndCentre(HWND window, int width, int height) {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  RECT outer = {0, 0, width, height};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  const int outerWidth = outer.right - outer.left;
  const int outerHeight = outer.bottom - outer.top;
  const int x = win::CentredOffset(GetSystemMetrics(SM_CXSCREEN), outerWidth);
  const int y = win::CentredOffset(GetSystemMetrics(SM_CYSCREEN), outerHeight);
  SetWindowPos(window, nullptr, x, y, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetProgramIcon(HWND window) {
  // Shared icons belong to the system's cache; they are never destroyed by us.
  const auto load = [](int sizeMetricX, int sizeMetricY) {
    return reinterpret_cast<LPARAM>(LoadImageW(AppInstance(), MAKEINTRESOURCEW(IDI_MORVANE),
                                               IMAGE_ICON, GetSystemMetrics(sizeMetricX),
                                               GetSystemMetrics(sizeMetricY), LR_SHARED));
  };
  SendMessageW(window, WM_SETICON, ICON_BIG, load(SM_CXICON, SM_CYICON));
  SendMessageW(window, WM_SETICON, ICON_SMALL, load(SM_CXSMICON, SM_CYSMICON));
}

win::Font CreateLabelFont(const wchar_t* face, int tenthsOfPoint, int weight, bool underline) {
  int dpi = 96;
  if (const win::WindowDc screen(nullptr, win::WindowDc::Area::Client); screen) {
    dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  LOGFONTW font{};
  // A positive height asks for the cell height. SimSun and SimHei fill their cells exactly (no
  // internal leading), so for them this is the point size as usual; a stand-in font with more
  // line spacing (as under Wine) is scaled to the same line pitch, so that labels wrap to the
  // same number of lines and stay inside their boxes.
  font.lfHeight = MulDiv(tenthsOfPoint, dpi, 720);
  font.lfWeight = weight;
  font.lfUnderline = underline ? TRUE : FALSE;
  font.lfCharSet = kChineseCharset;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return win::Font(CreateFontIndirectW(&font));
}

}  // namespace app
