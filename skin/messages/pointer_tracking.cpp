#include "skin/messages/pointer_tracking.h"

#include "skin/core/skin_props.h"
#include "win/dll_search.h"
#include "win/module_function.h"

namespace skin {

namespace {

// Per thread, as all of the skin's state: set by the install that starts a thread's skin.
thread_local bool hasUserTrackMouseEvent = false;

// comctl32's _TrackMouseEvent, for a system whose user32 lacks TrackMouseEvent; nullptr where
// comctl32 has none either. comctl32 comes from the system directory and stays loaded: its
// tracking may leave a timer of its own running.
using TrackFunction = BOOL(WINAPI*)(TRACKMOUSEEVENT*);
TrackFunction CommonControlsTracking() {
  HMODULE comctl32 = GetModuleHandleW(L"comctl32.dll");
  if (comctl32 == nullptr) comctl32 = win::LoadSystemLibrary(L"comctl32.dll");
  return win::ModuleFunction<TrackFunction>(comctl32, "_TrackMouseEvent");
}

}  // namespace

bool HasUserTrackMouseEvent() { return hasUserTrackMouseEvent; }

void SetHasUserTrackMouseEvent(bool exported) { hasUserTrackMouseEvent = exported; }

void TrackMouseLeave(HWND window) { TrackMouseLeaveWith(window, hasUserTrackMouseEvent); }

void TrackMouseLeaveWith(HWND window, bool useUser32) {
  TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
  if (useUser32) {
    TrackMouseEvent(&request);
  } else if (const TrackFunction track = CommonControlsTracking()) {
    track(&request);
  }
}

bool AttachHoverState(HWND window) {
  SetSkinProp(window, props::kMouseFlag, 0);
  SetSkinState(window, SkinState::Normal);
  return true;
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
