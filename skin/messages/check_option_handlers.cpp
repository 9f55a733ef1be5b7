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
  return m.CallPreviousThen([&] { Paint(m.window, SkinState::Normal, true); });
}

// Every move repaints (forced): hot, or pressed while the left button is held; normal when the
// pointer is not over the box at all.
template <MarkPainter Paint>
LRESULT TrackPointerOverMark(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    SkinState state = LeftButtonHeld(m.wParam) ? SkinState::Pressed : SkinState::Hot;
    if (!ArmLeaveTracking(m.window)) state = SkinState::Normal;
    Paint(m.window, state, true);
  });
}

template <MarkPainter Paint>
LRESULT ShowMarkNormalAfterLeave(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    DisarmLeaveTracking(m.window);
    Paint(m.window, SkinState::Normal, false);
  });
}

template <MarkPainter Paint>
LRESULT PressMark(const SkinMessage& m) {
  return m.CallPreviousThen([&] { Paint(m.window, SkinState::Pressed, false); });
}

template <MarkPainter Paint>
LRESULT ReleaseMark(const SkinMessage& m) {
  return m.CallPreviousThen([&] { Paint(m.window, SkinState::Normal, false); });
}

// The held space bar shows the mark pressed until it is released; other keys change nothing.
// A repeated key-down asks for the state already shown and so draws nothing.
template <MarkPainter Paint>
LRESULT PressMarkBySpaceBar(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    if (m.wParam == VK_SPACE) Paint(m.window, SkinState::Pressed, false);
  });
}

template <MarkPainter Paint>
LRESULT ReleaseMarkBySpaceBar(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    if (m.wParam == VK_SPACE) Paint(m.window, SkinState::Normal, false);
  });
}

template <MarkPainter Paint>
void RefreshMark(HWND window) {
  Paint(window, SkinState::Normal, true);
}

// Check boxes and option buttons differ in the painter of their mark.
template <MarkPainter Paint>
constexpr FamilyHandlers MarkHandlers() {
  return {
      .attach = AttachHoverState,
      .detach = DetachHoverState,
      .paint = RepaintMarkForced<Paint>,
      .keyDown = PressMarkBySpaceBar<Paint>,
      .keyUp = ReleaseMarkBySpaceBar<Paint>,
      .mouseMove = TrackPointerOverMark<Paint>,
      .lButtonDown = PressMark<Paint>,
      .lButtonUp = ReleaseMark<Paint>,
      .mouseLeave = ShowMarkNormalAfterLeave<Paint>,
      .refreshAfterClick = RefreshMark<Paint>,
      .sprites = Sprites::Option | Sprites::Glyph,
  };
}

// Option buttons also repaint their mark when they gain or lose the focus, since their own
// procedure redraws them then.
constexpr FamilyHandlers OptionHandlers() {
  FamilyHandlers row = MarkHandlers<PaintOptionBox>();
  row.setFocus = RepaintMarkForced<PaintOptionBox>;
  row.killFocus = RepaintMarkForced<PaintOptionBox>;
  return row;
}

}  // namespace

constinit const FamilyHandlers kCheckHandlers = MarkHandlers<PaintCheckBox>();
constinit const FamilyHandlers kOptionHandlers = OptionHandlers();

}  // namespace skin
