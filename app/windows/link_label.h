#pragma once

// The hyperlink label of the main window: its look (underlined while the pointer is elsewhere,
// plain while it is over the label) and the press and release that make a click.

#include <windows.h>

#include <string_view>

#include "app/windows/painted_label.h"
#include "win/unique_handle.h"

namespace app {

class LinkLabel {
 public:
  LinkLabel(std::wstring_view text, const wchar_t* fontFace, int tenthsOfPoint, COLORREF colour);

  // Puts the label into its box and makes its fonts at the DPI; until then it has neither.
  void LayOut(const PixelBox& box, int dpi);

  const PixelBox& box() const { return box_; }
  bool underlined() const { return underlined_; }

  // Turns the underline on or off; returns true when the look changed and needs a repaint.
  bool SetUnderlined(bool underlined);
  void SetColour(COLORREF colour) { colour_ = colour; }

  // A click is a press and a release of the left button both inside the box.
  void Press(POINT point) { pressed_ = box_.Contains(point); }
  bool Release(POINT point);

  void Draw(HDC dc) const;

  // The part of the window the label's text covers: its box, and below it where a tall font
  // reaches further. What must be repainted when the look changes.
  RECT PaintedRect(HWND window) const;

 private:
  PixelBox box_{};
  std::wstring_view text_;
  const wchar_t* fontFace_;
  int tenthsOfPoint_;
  COLORREF colour_;
  win::Font underlinedFont_;
  win::Font plainFont_;
  bool underlined_ = true;
  bool pressed_ = false;
};

}  // namespace app
