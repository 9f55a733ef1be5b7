#include "skin/engine/late_windows.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"

namespace skin {

namespace {

HHOOK creationHook = nullptr;
std::vector<HWND> noted;  // in creation order, so a page comes before its controls
int holds = 0;            // LateWindowsHold objects alive, and a running AttachLateWindows

bool IsNoted(HWND window) { return std::find(noted.begin(), noted.end(), window) != noted.end(); }

void NoteCreation(HWND window, const CREATESTRUCTW* create) {
  if (create == nullptr || (create->style & WS_CHILD) == 0) return;
  HWND parent = create->hwndParent;
  if (parent != nullptr && (IsSkinned(parent) || IsNoted(parent))) noted.push_back(window);
}

void Forget(HWND window) {
  noted.erase(std::remove(noted.begin(), noted.end(), window), noted.end());
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    NoteCreation(reinterpret_cast<HWND>(wParam), reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs);
  } else if (code == HCBT_DESTROYWND) {
    Forget(reinterpret_cast<HWND>(wParam));
  } else if (code >= 0) {
    // Activation, focus and the like: whatever was being created before has been completed.
    AttachLateWindows();
  }
  return CallNextHookEx(creationHook, code, wParam, lParam);
}

}  // namespace

void StartWatchingForLateWindows() {
  if (creationHook != nullptr) return;
  creationHook = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
}

void StopWatchingForLateWindows() {
  if (creationHook != nullptr) UnhookWindowsHookEx(creationHook);
  creationHook = nullptr;
  noted.clear();
}

void AttachLateWindows() {
  if (noted.empty() || holds > 0) return;
  LateWindowsHold hold;  // the attaches below send messages that come back here
  for (HWND window : std::exchange(noted, {})) {
    if (!IsWindow(window)) continue;
    // Visibility is asked first: it is cheaper to learn than a window property.
    if (!IsWindowVisible(window)) {
      noted.push_back(window);
      continue;
    }
    if (IsSkinned(GetAncestor(window, GA_PARENT))) SkinAttachWindow(window);
  }
}

LateWindowsHold::LateWindowsHold() { ++holds; }

LateWindowsHold::~LateWindowsHold() { --holds; }

}  // namespace skin
