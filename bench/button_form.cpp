#include "bench/button_form.h"

#include "bench/measurements.h"
#include "win/dpi.h"

namespace bench {
namespace {

// The main window's dialog font: 9 points of SimSun in the Chinese character set, which is 12
// pixels at 96 dots per inch.
constexpr int kFontPoints = 9;
constexpr int kPointsPerInch = 72;
constexpr wchar_t kFontFace[] = L"宋体";
constexpr wchar_t kButtonCaption[] = L"显示内嵌图片";  // "show inline images", Command2's caption

constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr int kMargin = 8;

}  // namespace

ButtonForm::ButtonForm(const ButtonGrid& grid, POINT origin, bool show)
    : font_(CreateFontW(-MulDiv(kFontPoints, BenchDpi(), kPointsPerInch), 0, 0, 0, FW_NORMAL, FALSE,
                        FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, kFontFace)) {
  const int rows = (grid.count + grid.columns - 1) / grid.columns;
  const int columns = grid.count < grid.columns ? grid.count : grid.columns;
  RECT box{0, 0, 2 * kMargin + columns * grid.width, 2 * kMargin + rows * grid.height};
  AdjustWindowRectEx(&box, kFormStyle, FALSE, 0);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const int left = MulDiv(origin.x, BenchDpi(), win::kDefaultDpi);
  const int top = MulDiv(origin.y, BenchDpi(), win::kDefaultDpi);
  form_ =
      CreateWindowExW(0, L"#32770", L"Morvane bench", kFormStyle, left, top, box.right - box.left,
                      box.bottom - box.top, nullptr, nullptr, instance, nullptr);
  buttons_.reserve(static_cast<size_t>(grid.count));
  for (int i = 0; i < grid.count; ++i) {
    const int x = kMargin + (i % grid.columns) * grid.width;
    const int y = kMargin + (i / grid.columns) * grid.height;
    HWND button =
        CreateWindowExW(0, L"Button", kButtonCaption, kButtonStyle, x, y, grid.width, grid.height,
                        form_, reinterpret_cast<HMENU>(INT_PTR{i + 1}), instance, nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    buttons_.push_back(button);
  }
  if (show) {
    ShowWindow(form_, SW_SHOWNOACTIVATE);
    UpdateWindow(form_);
  }
}

ButtonForm::~ButtonForm() {
  if (form_ != nullptr) DestroyWindow(form_);
}

}  // namespace bench
