#include "tests/support/message_box_watch.h"

#include <utility>

#include "skin/core/skin_kind.h"
#include "skin/core/skin_props.h"
#include "skin/engine/skin_engine.h"

namespace testing_support {
namespace {

constexpr UINT kLookEveryMs = 50;
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kTextId = 0xFFFF;  // the static control holding a message box's text
constexpr int kTextChars = 2048;

// A thread timer's procedure gets no context of its own: the watch under way, and the box last
// answered, which is passed over until it has gone (also when `answer` lets messages run).
struct Watch {
  HWND owner;
  const std::function<int(HWND)>* answer;
  HWND answered = nullptr;
};
Watch* watch = nullptr;

void CALLBACK AnswerTheBox(HWND, UINT, UINT_PTR, DWORD) {
  const HWND box = GetLastActivePopup(watch->owner);
  if (box == nullptr || box == watch->owner || !IsWindowVisible(box)) return;  // not up yet
  if (box == watch->answered && IsWindow(box)) return;
  watch->answered = box;
  PostMessageW(box, WM_COMMAND, static_cast<WPARAM>((*watch->answer)(box)), 0);
}

// The icon control is the box's static with SS_ICON, whose identifier differs between platforms.
HICON BoxIcon(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      return reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    }
  }
  return nullptr;
}

BOOL CALLBACK CountSkinnedButton(HWND child, LPARAM count) {
  if (skin::GetSkinKind(child) == skin::SkinKind::Button && skin::IsSkinned(child) &&
      skin::GetSkinProp(child, skin::props::kStateSurface[0]) != 0) {
    ++*reinterpret_cast<int*>(count);
  }
  return TRUE;
}

}  // namespace

bool IsMessageBox(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return std::wstring(name) == kDialogClass && GetDlgItem(window, kTextId) != nullptr;
}

MessageBoxSeen ReadMessageBox(HWND box) {
  MessageBoxSeen seen;
  seen.window = box;
  seen.open = box != nullptr;
  wchar_t text[kTextChars] = {};
  GetWindowTextW(box, text, kTextChars);
  seen.title = text;
  // GetDlgItemText sends WM_GETTEXT, which a box of another process answers too.
  GetDlgItemTextW(box, kTextId, text, kTextChars);
  seen.text = text;
  seen.icon = BoxIcon(box);
  return seen;
}

void AnswerMessageBoxes(HWND owner, const std::function<void()>& call,
                        const std::function<int(HWND box)>& answer) {
  Watch current{owner, &answer};
  Watch* const outer = std::exchange(watch, &current);
  const UINT_PTR timer = SetTimer(nullptr, 0, kLookEveryMs, AnswerTheBox);
  call();
  KillTimer(nullptr, timer);
  watch = outer;
}

MessageBoxSeen ReadMessageBoxOf(HWND owner, const std::function<void()>& call) {
  MessageBoxSeen seen;
  AnswerMessageBoxes(owner, call, [&](HWND box) {
    seen = ReadMessageBox(box);
    return IDOK;
  });
  return seen;
}

MessageBoxSeen WatchMessageBoxAndAnswerNo(HWND owner, const std::function<void()>& showBox) {
  MessageBoxSeen seen;
  AnswerMessageBoxes(owner, showBox, [&](HWND box) {
    seen = ReadMessageBox(box);
    seen.skinned = skin::IsSkinned(box);
    seen.skinnedWindows = skin::SkinnedWindowCount();
    seen.dpi = skin::GetSkinDpi(box);
    EnumChildWindows(box, CountSkinnedButton, reinterpret_cast<LPARAM>(&seen.skinnedButtons));
    return IDNO;
  });
  return seen;
}

}  // namespace testing_support
