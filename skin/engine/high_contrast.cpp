#include "skin/engine/high_contrast.h"

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "win/callback_barrier.h"

namespace skin {
namespace {

bool PlatformHighContrastOn() {
  HIGHCONTRASTW highContrast{};
  highContrast.cbSize = sizeof highContrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
         (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

HighContrastQuery highContrastQuery = PlatformHighContrastOn;

BOOL CALLBACK RemoveFromTopLevelWindow(HWND window, LPARAM removed) {
  return win::CallGuarded(TRUE, [&] {
    if (IsSkinned(window)) *reinterpret_cast<int*>(removed) |= SkinRemove(window);
    return TRUE;
  });
}

}  // namespace

bool HighContrastOn() { return highContrastQuery(); }

int SkinFollowHighContrast(HWND form) {
  if (!HighContrastOn()) return SkinInstall(form);
  int removed = 0;
  EnumThreadWindows(GetCurrentThreadId(), RemoveFromTopLevelWindow,
                    reinterpret_cast<LPARAM>(&removed));
  return removed;
}

HighContrastQuery SetHighContrastQueryForTesting(HighContrastQuery query) {
  const HighContrastQuery previous = highContrastQuery;
  highContrastQuery = query != nullptr ? query : PlatformHighContrastOn;
  return previous;
}

}  // namespace skin
