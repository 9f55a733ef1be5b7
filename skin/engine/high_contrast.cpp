#include "skin/engine/high_contrast.h"

namespace skin {
namespace {

bool PlatformHighContrastOn() {
  HIGHCONTRASTW highContrast{};
  highContrast.cbSize = sizeof highContrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
         (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

HighContrastQuery highContrastQuery = PlatformHighContrastOn;

}  // namespace

bool HighContrastOn() { return highContrastQuery(); }

HighContrastQuery SetHighContrastQueryForTesting(HighContrastQuery query) {
  const HighContrastQuery previous = highContrastQuery;
  highContrastQuery = query != nullptr ? query : PlatformHighContrastOn;
  return previous;
}

}  // namespace skin
