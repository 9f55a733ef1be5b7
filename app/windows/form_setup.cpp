#include "app/windows/form_setup.h"

#include <cwchar>

#include "app/windows/resource_ids.h"
#include "win/dll_search.h"
#include "win/dpi.h"
#include "win/rounding.h"

namespace app {
namespace {

constexpr wchar_t kCommandFontFace[] = L"宋体";  // SimSun
constexpr int kCommandFontTenthsOfPoint = 90;

constexpr UINT kResizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

SIZE WindowSize(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

// Where the system draws the frame at another size than it was measured at (Wine keeps it at
// the system DPI when a window changes DPI), the client area comes out off by the difference:
// the window grows or shrinks by it.
void CorrectClientSize(HWND window, SIZE client) {
  RECT actual{};
  GetClientRect(window, &actual);
  const int dx = client.cx - actual.right;
  const int dy = client.cy - actual.bottom;
  if (dx == 0 && dy == 0) return;
  const SIZE outer = WindowSize(window);
  SetWindowPos(window, nullptr, 0, 0, outer.cx + dx, outer.cy + dy, kResizeOnly);
}

LOGFONTW FontDescription(const wchar_t* face, int height, int weight, bool underline) {
  LOGFONTW font{};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfUnderline = underline ? TRUE : FALSE;
  font.lfCharSet = kChineseCharset;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

// The size the system gives the metric at the DPI: GetSystemMetricsForDpi where user32 has it,
// else the metric at the system DPI, which is then every window's.
int SystemMetricForDpi(int metric, int dpi) {
  using MetricForDpiFunction = int(WINAPI*)(int, UINT);
  if (const auto forDpi = win::User32Function<MetricForDpiFunction>("GetSystemMetricsForDpi")) {
    if (const int size = forDpi(metric, static_cast<UINT>(dpi)); size > 0) return size;
  }
  return GetSystemMetrics(metric);
}

// Notes that the enumeration found a font and ends it there.
int CALLBACK NoteFirstFont(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

}  // namespace

HINSTANCE AppInstance() { return GetModuleHandleW(nullptr); }

SIZE WindowSizeForClient(HWND window, SIZE client, int dpi) {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  RECT outer = {0, 0, client.cx, client.cy};
  win::AdjustWindowRectForDpi(&outer, style, exStyle, dpi);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

// Size and place go in one move: each move of a top-level window is a round of the window
// manager's work as the window starts. Only where the frame turns out other than measured is the
// client corrected and the window centred again at its final size.
void SizeClientAndCentre(HWND window, SIZE client, int dpi) {
  const SIZE wanted = WindowSizeForClient(window, client, dpi);
  const SIZE screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SetWindowPos(window, nullptr, win::CentredOffset(screen.cx, wanted.cx),
               win::CentredOffset(screen.cy, wanted.cy), wanted.cx, wanted.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  CorrectClientSize(window, client);
  const SIZE outer = WindowSize(window);
  if (outer.cx == wanted.cx && outer.cy == wanted.cy) return;
  SetWindowPos(window, nullptr, win::CentredOffset(screen.cx, outer.cx),
               win::CentredOffset(screen.cy, outer.cy), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceInSuggestedRect(HWND window, const RECT& suggested, SIZE client) {
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  CorrectClientSize(window, client);
}

win::Icon LoadProgramIcon(int sizeMetric, int dpi) {
  const int size = SystemMetricForDpi(sizeMetric, dpi);
  // The icon holds an image of exactly the small and the big icon's size at every scale from 100
  // to 400 %, which LoadImageW hands back as it is; it scales another image only for a size
  // beyond those (Microsoft's page on LoadIconWithScaleDown: LoadImage enlarges the next smaller
  // image). LoadIconWithScaleDown would gain nothing, and the program, whose manifest names no
  // Common Controls 6 dependency, gets comctl32 5.x, which lacks the version 6 icon functions.
  // Field reports: a setup program linked without that dependency would not start for want of
  // comctl32's LoadIconMetric (the tracker of winsiderss/systeminformer), and a Go GUI toolkit's
  // switch to LoadIconWithScaleDown failed on Windows 7 (lxn/walk). So no comctl32 for the icons.
  // Not LR_SHARED: a shared icon is the system cache's, of the first size asked for.
  return win::Icon(static_cast<HICON>(
      LoadImageW(AppInstance(), MAKEINTRESOURCEW(IDI_MORVANE), IMAGE_ICON, size, size, 0)));
}

bool FontFaceInstalled(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  const win::MemoryDc dc(nullptr);
  bool found = false;
  if (dc) {
    EnumFontFamiliesExW(dc.get(), &wanted, NoteFirstFont, reinterpret_cast<LPARAM>(&found), 0);
  }
  return found;
}

const wchar_t* ChooseLabelFace(const LabelFace& label, bool (*installed)(const wchar_t* face)) {
  if (installed(label.face) || installed(label.otherName)) return label.face;
  return installed(label.fallback) ? label.fallback : label.face;
}

win::Font CreateLabelFont(const wchar_t* face, int tenthsOfPoint, int weight, bool underline,
                          int dpi) {
  // A positive height asks for the cell height. SimSun and SimHei fill their cells exactly (no
  // internal leading), so for them this is the point size as usual; a stand-in font with more
  // line spacing (as under Wine) is scaled to the same line pitch, so that labels wrap to the
  // same number of lines and stay inside their boxes.
  const LOGFONTW font =
      FontDescription(face, win::TenthsOfPointToPixels(tenthsOfPoint, dpi), weight, underline);
  return win::Font(CreateFontIndirectW(&font));
}

win::Font CreateCommandFont(int dpi) {
  // A negative height asks for the character height, as the dialog manager does for the font of
  // a template.
  const LOGFONTW font =
      FontDescription(kCommandFontFace, -win::TenthsOfPointToPixels(kCommandFontTenthsOfPoint, dpi),
                      FW_NORMAL, false);
  return win::Font(CreateFontIndirectW(&font));
}

}  // namespace app
