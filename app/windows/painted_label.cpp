#include "app/windows/painted_label.h"

#include "skin/engine/high_contrast.h"
#include "win/unique_handle.h"

namespace app {

COLORREF PaintedTextColour(COLORREF own) {
  return skin::HighContrastOn() ? GetSysColor(COLOR_BTNTEXT) : own;
}

COLORREF PaintedLinkColour(COLORREF own) {
  return skin::HighContrastOn() ? GetSysColor(COLOR_HOTLIGHT) : own;
}

void DrawPaintedLabel(HDC dc, const PixelBox& box, std::wstring_view text, HFONT font,
                      COLORREF colour) {
  win::DcStateGuard state(dc);
  win::SelectGuard selectFont(dc, font);
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  RECT rect = box.Rect();
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect,
            DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
}

}  // namespace app
