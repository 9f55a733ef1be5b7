#include "tests/support/message_box_watch.h"

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_kind.h"
#include "skin/core/skin_props.h"

namespace testing_support {
namespace {

constexpr UINT kLookEveryMs = 50;

// A thread timer's procedure gets no context of its own: the watch under way.
struct Watch {
  HWND owner;
  MessageBoxSeen seen;
};
Watch* watch = nullptr;

BOOL CALLBACK CountSkinnedButton(HWND child, LPARAM) {
  if (skin::GetSkinKind(child) == skin::SkinKind::Button && skin::IsSkinned(child) &&
      skin::GetSkinProp(child, skin::props::kStateSurface[0]) != 0) {
    ++watch->seen.skinnedButtons;
  }
  return TRUE;
}

void CALLBACK LookAtTheBoxAndAnswerNo(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = GetLastActivePopup(watch->owner);
  if (box == nullptr || box == watch->owner) return;  // not up yet
  KillTimer(nullptr, timer);
  watch->seen.open = true;
  watch->seen.skinned = skin::IsSkinned(box);
  watch->seen.skinnedWindows = skin::SkinnedWindowCount();
  watch->seen.dpi = skin::GetSkinDpi(box);
  EnumChildWindows(box, CountSkinnedButton, 0);
  PostMessageW(box, WM_COMMAND, IDNO, 0);
}

}  // namespace

MessageBoxSeen WatchMessageBoxAndAnswerNo(HWND owner, const std::function<void()>& showBox) {
  Watch current{owner, {}};
  watch = &current;
  const UINT_PTR timer = SetTimer(nullptr, 0, kLookEveryMs, LookAtTheBoxAndAnswerNo);
  showBox();
  KillTimer(nullptr, timer);
  watch = nullptr;
  return current.seen;
}

}  // namespace testing_support
