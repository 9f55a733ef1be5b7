#include "skin/painters/control_geometry.h"

#include <cmath>

namespace skin {

int RoundToEven(double x) {
  // std::nearbyint rounds in the current rounding mode, which is round-to-nearest-even unless
  // someone changed it; do the tie-breaking explicitly so the result never depends on that.
  const double floor = std::floor(x);
  const double diff = x - floor;
  double result = floor;
  if (diff > 0.5) {
    result = floor + 1.0;
  } else if (diff == 0.5) {
    result = std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
  }
  return static_cast<int>(result);
}

int CentredOffset(int outer, int inner) {
  return RoundToEven((static_cast<double>(outer) - inner) / 2.0);
}

int ComboButtonWidth(int scrollBarWidth) { return scrollBarWidth + 1; }

int ComboArrowX(int buttonWidth) {
  const double free = static_cast<double>(buttonWidth) - kComboArrowWidth;
  return RoundToEven(free - free / 2.0);
}

int ComboArrowY(int windowHeight) { return RoundToEven((windowHeight - 6) / 2.0); }

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
  return {0, RoundToEven(static_cast<double>(extent) * fraction)};
}

PixelSpan VerticalFill(int extent, float fraction) {
  const double filled = static_cast<double>(extent) * fraction;
  return {RoundToEven(extent - filled), RoundToEven(filled)};
}

}  // namespace skin
