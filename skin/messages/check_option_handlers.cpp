// Check boxes and option buttons. Their own procedure runs first and draws the control with its
// caption; the skin then covers the mark at the left edge. There is no fade: every change is
// painted at once.

#include "skin/core/skin_props.h"
#include "skin/messages/message_handlers.h"
#include "skin/messages/pointer_tracking.h"
#include "skin/painters/check_option_painter.h"

namespace skin {
namespace {

using MarkPainter = int (*)(HWND window, SkinState state, bool force);

template <MarkPainter Paint>
LRESULT RepaintMarkForced(const SkinMessage& m) {
  const auto previous = m.CallPreviousAndRecheck();
  if (previous.stillSkinned) Paint(m.window, SkinState::Normal, true);
  return previous.value;
}

// Every move repaints (forced): hot, or pressed while the left button is held; normal when the
// pointer is not over the box at all.
template <MarkPainter Paint>
LRESULT TrackPointerOverMark(const SkinMessage& m) {
  const auto previous = m.CallPreviousAndRecheck();
  if (!previous.stillSkinned) return previous.value;
  SkinState state = LeftButtonHeld(m.wParam) ? SkinState::Pressed : SkinState::Hot;
  if (!ArmLeaveTracking(m.window)) state = SkinState::Normal;
  Paint(m.window, state, true);
  return previous.value;
}

template <MarkPainter Paint>
LRESULT ShowMarkNormalAfterLeave(const SkinMessage& m) {
  const auto previous = m.CallPreviousAndRecheck();
  if (!previous.stillSkinned) return previous.value;
  DisarmLeaveTracking(m.window);
  Paint(m.window, SkinState::Normal, false);
  return previous.value;
}

template <MarkPainter Paint>
LRESULT PressMark(const SkinMessage& m) {
  const auto previous = m.CallPreviousAndRecheck();
  if (previous.stillSkinned) Paint(m.window, SkinState::Pressed, false);
  return previous.value;
}

template <MarkPainter Paint>
LRESULT ReleaseMark(const SkinMessage& m) {
  const auto previous = m.CallPreviousAndRecheck();
  if (previous.stillSkinned) Paint(m.window, SkinState::Normal, false);
  return previous.value;
}

// The held space bar shows the mark pressed until it is released; other keys change nothing.
// A repeated key-down asks for the state already shown and so draws nothing.
template <MarkPainter Paint>
LRESULT PressMarkBySpaceBar(const SkinMessage& m) {
  const auto previous = m.CallPreviousAndRecheck();
  if (previous.stillSkinned && m.wParam == VK_SPACE) Paint(m.window, SkinState::Pressed, false);
  return previous.value;
}

template <MarkPainter Paint>
LRESULT ReleaseMarkBySpaceBar(const SkinMessage& m) {
  const auto previous = m.CallPreviousAndRecheck();
  if (previous.stillSkinned && m.wParam == VK_SPACE) Paint(m.window, SkinState::Normal, false);
  return previous.value;
}

template <MarkPainter Paint>
void RefreshMark(HWND window) {
  Paint(window, SkinState::Normal, true);
}

}  // namespace

const FamilyHandlers kCheckHandlers{
    .attach = AttachHoverState,
    .detach = DetachHoverState,
    .paint = RepaintMarkForced<PaintCheckBox>,
    .keyDown = PressMarkBySpaceBar<PaintCheckBox>,
    .keyUp = ReleaseMarkBySpaceBar<PaintCheckBox>,
    .mouseMove = TrackPointerOverMark<PaintCheckBox>,
    .lButtonDown = PressMark<PaintCheckBox>,
    .lButtonUp = ReleaseMark<PaintCheckBox>,
    .mouseLeave = ShowMarkNormalAfterLeave<PaintCheckBox>,
    .refreshAfterClick = RefreshMark<PaintCheckBox>,
};

// Option buttons also repaint their mark when they gain or lose the focus, since their own
// procedure redraws them then.
const FamilyHandlers kOptionHandlers{
    .attach = AttachHoverState,
    .detach = DetachHoverState,
    .paint = RepaintMarkForced<PaintOptionBox>,
    .setFocus = RepaintMarkForced<PaintOptionBox>,
    .killFocus = RepaintMarkForced<PaintOptionBox>,
    .keyDown = PressMarkBySpaceBar<PaintOptionBox>,
    .keyUp = ReleaseMarkBySpaceBar<PaintOptionBox>,
    .mouseMove = TrackPointerOverMark<PaintOptionBox>,
    .lButtonDown = PressMark<PaintOptionBox>,
    .lButtonUp = ReleaseMark<PaintOptionBox>,
    .mouseLeave = ShowMarkNormalAfterLeave<PaintOptionBox>,
    .refreshAfterClick = RefreshMark<PaintOptionBox>,
};

}  // namespace skin
