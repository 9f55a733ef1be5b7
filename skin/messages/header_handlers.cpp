// Headers. The whole strip is redrawn from the header sprite on every paint, and single items as
// the pointer moves over them, presses them and leaves. "HMINDEX" holds the hot item and
// "HDINDEX" the pressed one, -1 for none.

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "skin/core/skin_props.h"
#include "skin/graphics/primitives.h"
#include "skin/messages/message_handlers.h"
#include "skin/messages/pointer_tracking.h"
#include "skin/painters/control_geometry.h"
#include "skin/painters/header_painter.h"

namespace skin {
namespace {

constexpr LONG_PTR kNoItem = -1;

bool AttachHeader(HWND header) {
  SetSkinProp(header, props::kMouseFlag, 0);
  SetSkinProp(header, props::kHeaderDownIndex, kNoItem);
  SetSkinProp(header, props::kHeaderHotIndex, kNoItem);
  return true;
}

void DetachHeader(HWND header) {
  RemoveSkinProp(header, props::kMouseFlag);
  RemoveSkinProp(header, props::kHeaderDownIndex);
  RemoveSkinProp(header, props::kHeaderHotIndex);
}

int ItemCount(HWND header) {
  return static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

// The item whose rectangle holds x, borders included; a border pixel shared by two items
// belongs to the lower index.
int ItemUnderPointer(HWND header, int count, LPARAM lParam) {
  std::vector<ItemSpan> items;
  for (int i = 0; i < count; ++i) {
    RECT rect{};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
    items.push_back({rect.left, rect.right});
  }
  return ItemUnderX(items, LowWord(lParam));
}

void PaintItem(HWND header, LONG_PTR index, SkinState state) {
  PaintHeaderItem(header, nullptr, static_cast<int>(index), state);
}

LRESULT PaintStrip(const SkinMessage& m) { return PaintInsteadOfPrevious(m, PaintHeaderStrip); }

// While the left button is held "HMINDEX" keeps the item that was hot when the press began, so
// the pressed item stays drawn pressed wherever the pointer goes and no other item turns hot.
// A move while the pointer is not over the header at all makes no item hot.
LRESULT TrackHotItem(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    const bool inside = ArmLeaveTracking(m.window);
    const LONG_PTR old = GetSkinProp(m.window, props::kHeaderHotIndex);
    const LONG_PTR hot =
        inside ? ItemUnderPointer(m.window, ItemCount(m.window), m.lParam) : kNoItem;
    const LONG_PTR pressed = GetSkinProp(m.window, props::kHeaderDownIndex);
    if (hot == old) return;
    if (old >= 0 && old != pressed) PaintItem(m.window, old, SkinState::Normal);
    if (!LeftButtonHeld(m.wParam)) {
      SetSkinProp(m.window, props::kHeaderHotIndex, hot);
      PaintItem(m.window, hot, SkinState::Hot);
    } else if (hot == pressed) {
      PaintItem(m.window, hot, SkinState::Pressed);
    }
  });
}

LRESULT PressItem(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    const int count = ItemCount(m.window);
    if (count > 0) {
      const int pressed = ItemUnderPointer(m.window, count, m.lParam);
      SetSkinProp(m.window, props::kHeaderDownIndex, pressed);
      PaintItem(m.window, pressed, SkinState::Pressed);
    }
  });
}

LRESULT ReleaseItem(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    const LONG_PTR pressed = GetSkinProp(m.window, props::kHeaderDownIndex);
    SetSkinProp(m.window, props::kHeaderDownIndex, kNoItem);
    if (pressed >= 0) {
      PaintItem(m.window, pressed, CursorIsOver(m.window) ? SkinState::Hot : SkinState::Normal);
    }
  });
}

LRESULT ForgetItemsAfterLeave(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    const LONG_PTR hot = GetSkinProp(m.window, props::kHeaderHotIndex);
    DisarmLeaveTracking(m.window);
    SetSkinProp(m.window, props::kHeaderDownIndex, kNoItem);
    SetSkinProp(m.window, props::kHeaderHotIndex, kNoItem);
    PaintItem(m.window, hot, SkinState::Normal);
  });
}

}  // namespace

const FamilyHandlers kHeaderHandlers{
    .attach = AttachHeader,
    .detach = DetachHeader,
    .paint = PaintStrip,
    .mouseMove = TrackHotItem,
    .lButtonDown = PressItem,
    .lButtonUp = ReleaseItem,
    .lButtonDblClk = PressItem,
    .mouseLeave = ForgetItemsAfterLeave,
    .sprites = Sprites::Header,
};

}  // namespace skin
