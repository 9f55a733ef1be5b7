#include "app/windows/link_label.h"

#include "app/windows/form_setup.h"

namespace app {

LinkLabel::LinkLabel(std::wstring_view text, const wchar_t* fontFace, int tenthsOfPoint,
                     COLORREF colour)
    : text_(text), fontFace_(fontFace), tenthsOfPoint_(tenthsOfPoint), colour_(colour) {}

void LinkLabel::LayOut(const PixelBox& box, int dpi) {
  box_ = box;
  underlinedFont_ = CreateLabelFont(fontFace_, tenthsOfPoint_, FW_NORMAL, true, dpi);
  plainFont_ = CreateLabelFont(fontFace_, tenthsOfPoint_, FW_NORMAL, false, dpi);
}

bool LinkLabel::SetUnderlined(bool underlined) {
  if (underlined_ == underlined) return false;
  underlined_ = underlined;
  return true;
}

bool LinkLabel::Release(POINT point) {
  const bool clicked = pressed_ && box_.Contains(point);
  pressed_ = false;
  return clicked;
}

void LinkLabel::Draw(HDC dc) const {
  DrawPaintedLabel(dc, box_, text_, underlined_ ? underlinedFont_.get() : plainFont_.get(),
                   PaintedLinkColour(colour_));
}

RECT LinkLabel::PaintedRect(HWND window) const {
  RECT painted = box_.Rect();
  const win::WindowDc dc(window, win::WindowDc::Area::Client);
  if (!dc) return painted;
  const win::SelectGuard selectFont(dc.get(), underlinedFont_.get());
  RECT text = painted;
  DrawTextW(dc.get(), text_.data(), static_cast<int>(text_.size()), &text,
            DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_CALCRECT);
  UnionRect(&painted, &painted, &text);
  return painted;
}

}  // namespace app
