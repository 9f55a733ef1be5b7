#include "skin/painters/control_geometry.h"

#include "win/rounding.h"

namespace skin {

using win::RoundHalfToEven;

int ComboButtonWidth(int scrollBarWidth) { return scrollBarWidth + 1; }

int ComboArrowX(int buttonWidth, int arrowWidth) {
  const double free = static_cast<double>(buttonWidth) - arrowWidth;
  return RoundHalfToEven(free - free / 2.0);
}

// The button starts one pixel below the window's top: (H - 2 - a) / 2, which is (H - 6) / 2 for
// the arrow of factor 1.
int ComboArrowY(int windowHeight, int arrowHeight) {
  return RoundHalfToEven((windowHeight - 2 - arrowHeight) / 2.0);
}

bool InComboArrowZone(int x, int y, int width, int height, int scrollBarWidth) {
  return x >= width - scrollBarWidth - 2 && x <= width - 2 && y >= 2 && y <= height - 2;
}

int ItemUnderX(const std::vector<ItemSpan>& items, int x) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].left <= x && x <= items[i].right) return static_cast<int>(i);
  }
  return -1;
}

float ProgressFraction(int position) {
  return static_cast<float>(position) / static_cast<float>(kProgressFullScale);
}

PixelSpan HorizontalFill(int extent, float fraction) {
  return {0, RoundHalfToEven(static_cast<double>(extent) * fraction)};
}

PixelSpan VerticalFill(int extent, float fraction) {
  const double filled = static_cast<double>(extent) * fraction;
  return {RoundHalfToEven(extent - filled), RoundHalfToEven(filled)};
}

}  // namespace skin
