#pragma once

// Pure arithmetic shared by the control painters and their message handlers (centring is
// win::CentredOffset): the drop-button geometry of combo boxes, the item of a
// header under the pointer and the fill of a progress bar. Nothing here touches a window.

#include <vector>

namespace skin {

// Drop button of a combo box: as wide as a vertical scroll bar plus one pixel, one pixel in from
// the right, top and bottom edges of the window rectangle.
int ComboButtonWidth(int scrollBarWidth);

// Where an arrow of the given size (7 x 4 at sprite factor 1) sits inside a drop button bw wide
// on a window H high, one pixel below the window's top: centred across the button, and centred
// down the window height, not the (two pixels lower) button height.
inline constexpr int kComboArrowWidth = 7;
inline constexpr int kComboArrowHeight = 4;
int ComboArrowX(int buttonWidth, int arrowWidth = kComboArrowWidth);
int ComboArrowY(int windowHeight, int arrowHeight = kComboArrowHeight);

// Whether a point in client coordinates lies on the drop button of an editable combo box whose
// window rectangle is width x height: width - c - 2 <= x <= width - 2 and 2 <= y <= height - 2,
// all bounds inclusive, c being the width of a vertical scroll bar.
bool InComboArrowZone(int x, int y, int width, int height, int scrollBarWidth);

// Horizontal extent of one header item, left and right inclusive.
struct ItemSpan {
  int left;
  int right;
};

// Index of the first item with left <= x <= right, so that a border pixel shared by two items
// belongs to the lower index; -1 when no item contains x.
int ItemUnderX(const std::vector<ItemSpan>& items, int x);

// A progress bar's position as a fraction of the fixed full scale of 30000, whatever range the
// control was given; held in single precision.
inline constexpr int kProgressFullScale = 30000;
float ProgressFraction(int position);

// A run of pixels along one axis.
struct PixelSpan {
  int start;
  int length;
};

// The filled part of a bar `extent` pixels long at fraction f. Horizontal bars grow from the
// left: [0, [extent * f]). Vertical bars grow from the bottom: start [extent - extent * f],
// length [extent * f]. Every value is rounded to even on its own, so start + length need not
// equal the extent.
PixelSpan HorizontalFill(int extent, float fraction);
PixelSpan VerticalFill(int extent, float fraction);

}  // namespace skin
