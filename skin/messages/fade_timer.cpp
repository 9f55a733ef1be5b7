#include "skin/messages/fade_timer.h"

#include "skin/core/skin_props.h"
#include "skin/painters/button_painter.h"
#include "skin/painters/hover_fade.h"

namespace skin {

UINT_PTR StartFadeTimer(HWND window) {
  if (GetSkinProp(window, props::kTimerId) != 0) return 0;
  const UINT_PTR id = SetTimer(window, kFadeTimerId, kFadeTimerPeriodMs, nullptr);
  SetSkinProp(window, props::kTimerId, static_cast<LONG_PTR>(id));
  return id;
}

BOOL StopFadeTimer(HWND window) {
  const LONG_PTR id = GetSkinProp(window, props::kTimerId);
  if (id == 0) return FALSE;
  const BOOL result = KillTimer(window, static_cast<UINT_PTR>(id));
  SetSkinProp(window, props::kTimerId, 0);
  return result;
}

void RunFadeStep(HWND button) {
  const LONG_PTR level = GetSkinProp(button, props::kAlphaLevel);
  PaintButtonAtLevel(button, nullptr, level);
  const LONG_PTR next = NextFadeLevel(level);
  if (next == 0) StopFadeTimer(button);
  SetSkinProp(button, props::kAlphaLevel, next);
}

}  // namespace skin
