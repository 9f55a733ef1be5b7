#include "skin/messages/pointer_tracking.h"

#include <commctrl.h>

#include "skin/core/skin_props.h"

namespace skin {

namespace {

bool hasUserTrackMouseEvent = false;

}  // namespace

bool HasUserTrackMouseEvent() { return hasUserTrackMouseEvent; }

void SetHasUserTrackMouseEvent(bool exported) { hasUserTrackMouseEvent = exported; }

void TrackMouseLeave(HWND window) { TrackMouseLeaveWith(window, hasUserTrackMouseEvent); }

void TrackMouseLeaveWith(HWND window, bool useUser32) {
  TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
  if (useUser32) {
    TrackMouseEvent(&request);
  } else {
    _TrackMouseEvent(&request);
  }
}

void AttachHoverState(HWND window) {
  SetSkinProp(window, props::kMouseFlag, 0);
  SetSkinState(window, SkinState::Normal);
}

void DetachHoverState(HWND window) {
  RemoveSkinProp(window, props::kMouseFlag);
  RemoveSkinProp(window, props::kOldState);
}

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
