#include "skin/messages/pointer_tracking.h"

#include "skin/core/skin_props.h"
#include "skin/painters/hover_fade.h"

namespace skin {

bool ArmLeaveTracking(HWND window) {
  if (GetSkinProp(window, props::kMouseFlag) != 0) return true;
  if (!CursorIsOver(window)) return false;
  SetSkinProp(window, props::kMouseFlag, 1);
  TrackMouseLeave(window);
  return true;
}

void DisarmLeaveTracking(HWND window) { SetSkinProp(window, props::kMouseFlag, 0); }

bool CursorIsOver(HWND window) {
  POINT cursor{};
  GetCursorPos(&cursor);
  return WindowFromPoint(cursor) == window;
}

}  // namespace skin
