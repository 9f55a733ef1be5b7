#pragma once

// Windows for the benchmark: a top-level window of the dialog class "#32770" (a form to the
// skin) holding system push buttons of one size in a grid, with the main window's dialog font.
// Everything is destroyed with the object.

#include <windows.h>

#include <vector>

#include "skin/graphics/gdi_handles.h"

namespace bench {

struct ButtonGrid {
  int count;
  int width;
  int height;
  int columns;
};

class ButtonForm {
 public:
  // The form's top-left corner on the screen, given at 96 DPI and placed at the bench's DPI, so
  // that the forms of one run do not overlap; shown (without activation) when `show` is true.
  ButtonForm(const ButtonGrid& grid, POINT origin, bool show);
  ButtonForm(const ButtonForm&) = delete;
  ButtonForm& operator=(const ButtonForm&) = delete;
  ~ButtonForm();

  HWND form() const { return form_; }
  HWND button(size_t index) const { return buttons_[index]; }
  const std::vector<HWND>& buttons() const { return buttons_; }

 private:
  gdi::Font font_;
  HWND form_ = nullptr;
  std::vector<HWND> buttons_;
};

}  // namespace bench
