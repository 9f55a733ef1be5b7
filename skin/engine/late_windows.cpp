#include "skin/engine/late_windows.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "skin/core/skin_props.h"

namespace skin {

namespace {

// The watch of the calling thread, kept per thread like all of the engine's state
// (skin_engine.cpp): its creation hook, the windows it noted, in creation order so that a page
// comes before its controls (made as the watch starts and freed as it stops: plain values only,
// nothing to destroy at thread exit), the LateWindowsHold objects alive with a running
// AttachLateWindows, and the engine's calls. Those stay when the watch stops: an attach of a
// running AttachLateWindows may stop it, and the next one still calls the engine.
struct Watch {
  HHOOK hook;
  std::vector<HWND>* noted;
  int holds;
  LateWindowCalls engine;
};
thread_local Watch watch = {nullptr, nullptr, 0, {nullptr, nullptr}};

bool IsNoted(HWND window) {
  return watch.noted != nullptr &&
         std::find(watch.noted->begin(), watch.noted->end(), window) != watch.noted->end();
}

void Note(HWND window) {
  if (watch.noted != nullptr) watch.noted->push_back(window);
}

void NoteCreation(HWND window, const CREATESTRUCTW* create) {
  if (create == nullptr || (create->style & WS_CHILD) == 0) return;
  HWND parent = create->hwndParent;
  if (parent != nullptr && (IsSkinned(parent) || IsNoted(parent))) Note(window);
}

void Forget(HWND window) {
  if (watch.noted != nullptr) std::erase(*watch.noted, window);
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    NoteCreation(reinterpret_cast<HWND>(wParam), reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs);
  } else if (code == HCBT_DESTROYWND) {
    Forget(reinterpret_cast<HWND>(wParam));
    watch.engine.forgetDestroyed(reinterpret_cast<HWND>(wParam));
  } else if (code >= 0) {
    // Activation, focus and the like: whatever was being created before has been completed.
    AttachLateWindows();
  }
  return CallNextHookEx(watch.hook, code, wParam, lParam);
}

}  // namespace

void StartWatchingForLateWindows(const LateWindowCalls& engine) {
  watch.engine = engine;
  if (watch.hook != nullptr) return;
  watch.hook = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
  if (watch.hook != nullptr) watch.noted = new std::vector<HWND>;
}

void StopWatchingForLateWindows() {
  if (watch.hook != nullptr) UnhookWindowsHookEx(watch.hook);
  watch.hook = nullptr;
  delete std::exchange(watch.noted, nullptr);
}

void AttachLateWindows() {
  if (watch.noted == nullptr || watch.noted->empty() || watch.holds > 0) return;
  LateWindowsHold hold;  // the attaches below send messages that come back here
  // The attaches may stop the watch (a message that destroys the last skinned window) and start
  // it again: a window still hidden is noted in whatever list is current by then.
  for (HWND window : std::exchange(*watch.noted, {})) {
    if (!IsWindow(window)) continue;
    // Visibility is asked first: it is cheaper to learn than a window property.
    if (!IsWindowVisible(window)) {
      Note(window);
      continue;
    }
    if (IsSkinned(GetAncestor(window, GA_PARENT))) watch.engine.attach(window);
  }
}

LateWindowsHold::LateWindowsHold() { ++watch.holds; }

LateWindowsHold::~LateWindowsHold() { --watch.holds; }

}  // namespace skin
