// Progress bars, drawn entirely by the skin, and the flat frames of data lists, drop-down lists,
// grids and every other window with a sunken client edge, drawn over what their own procedure
// painted.

#include "skin/messages/message_handlers.h"
#include "skin/painters/progress_frame_painter.h"

namespace skin {
namespace {

LRESULT PaintProgressBar(const SkinMessage& m) {
  return PaintInsteadOfPrevious(m, PaintProgressClient);
}

// Where the skin cannot draw the frame, the bar's own procedure does.
LRESULT PaintProgressFrame(const SkinMessage& m) {
  return PaintProgressWindow(m.window) ? 0 : m.CallPrevious();
}

LRESULT FrameListAfterPaint(const SkinMessage& m) {
  return m.CallPreviousThen([&] { DrawDoubleFrame(m.window); });
}

LRESULT FrameGridAfterPaint(const SkinMessage& m) {
  return m.CallPreviousThen([&] { DrawGridFrame(m.window); });
}

LRESULT FrameClientEdgeAfterNcPaint(const SkinMessage& m) {
  return m.CallPreviousThen([&] { DrawClientEdgeFrame(m.window); });
}

}  // namespace

const FamilyHandlers kProgressHandlers{
    .paint = PaintProgressBar,
    .ncPaint = PaintProgressFrame,
};

// A data list gets its double frame on WM_PAINT; its own WM_NCPAINT goes through untouched.
const FamilyHandlers kDataListHandlers{
    .paint = FrameListAfterPaint,
    .ncPaint = CallPreviousOnly,
};

const FamilyHandlers kComboListHandlers{
    .paint = FrameListAfterPaint,
};

const FamilyHandlers kGridHandlers{
    .paint = FrameGridAfterPaint,
};

// Every family without a WM_NCPAINT handler of its own.
const FamilyHandlers kClientEdgeHandlers{
    .ncPaint = FrameClientEdgeAfterNcPaint,
};

}  // namespace skin
