// Combo boxes proper and drive lists. Their own procedure keeps the text and the list; the skin
// draws the flat frame and the drop button, whose look follows the pointer at once (no fade).
// An editable combo box (CBS_SIMPLE, CBS_DROPDOWN) is painted by the skin alone, and only the
// drop button part of it reacts to the pointer; for a drop-down list the whole control counts as
// the button.

#include "skin/core/skin_props.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/messages/message_handlers.h"
#include "skin/messages/pointer_tracking.h"
#include "skin/painters/combo_painter.h"
#include "skin/painters/control_geometry.h"

namespace skin {
namespace {

// The type bits of a combo box's style: CBS_SIMPLE 1, CBS_DROPDOWN 2, CBS_DROPDOWNLIST 3. Only a
// drop-down list has no edit field.
constexpr LONG_PTR kComboTypeStyle = 0x3;

bool IsEditable(HWND combo) {
  return (GetWindowLongPtrW(combo, GWL_STYLE) & kComboTypeStyle) != CBS_DROPDOWNLIST;
}

void ShowButton(HWND combo, SkinState state) { PaintComboButton(combo, nullptr, state, false); }

// Whether the pointer of a mouse message lies on the drop button of an editable combo box.
bool PointerOnArrow(const SkinMessage& m) {
  WindowBounds bounds{};
  GetWindowBounds(m.window, bounds);
  return InComboArrowZone(LowWord(m.lParam), HighWord(m.lParam), bounds.width, bounds.height,
                          GetSystemMetricForDpi(SM_CXVSCROLL, GetSkinDpi(m.window)));
}

SkinState HoverState(const SkinMessage& m) {
  return LeftButtonHeld(m.wParam) ? SkinState::Pressed : SkinState::Hot;
}

// The frame and button over what the control's own procedure drew.
LRESULT PaintFaceAfterPrevious(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    gdi::WindowDc windowDc(m.window);
    PaintComboFace(m.window, windowDc.get(), ComboFrameStyle::WhiteRing);
  });
}

bool PaintEditableFace(HWND combo, HDC dc) {
  return PaintComboFace(combo, dc, ComboFrameStyle::FilledBody);
}

// An editable combo box is painted by the skin alone: its edit field is a child window that
// paints itself.
LRESULT PaintComboBox(const SkinMessage& m) {
  if (!IsEditable(m.window)) return PaintFaceAfterPrevious(m);
  return PaintInsteadOfPrevious(m, PaintEditableFace);
}

// The pointer is not over the control at all (a late or sent move): normal, whatever is held.
LRESULT TrackPointerOverComboBox(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    SkinState state = HoverState(m);
    if (IsEditable(m.window) && !PointerOnArrow(m)) state = SkinState::Normal;
    if (!ArmLeaveTracking(m.window)) state = SkinState::Normal;
    ShowButton(m.window, state);
  });
}

LRESULT TrackPointerOverDriveList(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    ShowButton(m.window, ArmLeaveTracking(m.window) ? HoverState(m) : SkinState::Normal);
  });
}

LRESULT ShowButtonNormalAfterLeave(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    DisarmLeaveTracking(m.window);
    ShowButton(m.window, SkinState::Normal);
  });
}

LRESULT PressComboBox(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    if (!IsEditable(m.window) || PointerOnArrow(m)) ShowButton(m.window, SkinState::Pressed);
  });
}

LRESULT PressDriveList(const SkinMessage& m) {
  return m.CallPreviousThen([&] { ShowButton(m.window, SkinState::Pressed); });
}

// Released over the control itself the button stays hot; over anything else, the edit field of
// an editable combo box included, it goes back to normal.
LRESULT ReleaseButton(const SkinMessage& m) {
  return m.CallPreviousThen(
      [&] { ShowButton(m.window, CursorIsOver(m.window) ? SkinState::Hot : SkinState::Normal); });
}

LRESULT ShowButtonNormalAfterMove(const SkinMessage& m) {
  return m.CallPreviousThen([&] { ShowButton(m.window, SkinState::Normal); });
}

}  // namespace

const FamilyHandlers kComboBoxHandlers{
    .attach = AttachHoverState,
    .detach = DetachHoverState,
    .paint = PaintComboBox,
    .windowPosChanging = ShowButtonNormalAfterMove,
    .mouseMove = TrackPointerOverComboBox,
    .lButtonDown = PressComboBox,
    .lButtonUp = ReleaseButton,
    .mouseLeave = ShowButtonNormalAfterLeave,
    .sprites = Sprites::Combo,
};

const FamilyHandlers kDriveListHandlers{
    .attach = AttachHoverState,
    .detach = DetachHoverState,
    .paint = PaintFaceAfterPrevious,
    .windowPosChanging = ShowButtonNormalAfterMove,
    .mouseMove = TrackPointerOverDriveList,
    .lButtonDown = PressDriveList,
    .lButtonUp = ReleaseButton,
    .mouseLeave = ShowButtonNormalAfterLeave,
    .sprites = Sprites::Combo,
};

}  // namespace skin
