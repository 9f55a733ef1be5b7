#include "skin/painters/combo_painter.h"

#include <optional>

#include "skin/core/skin_props.h"
#include "skin/graphics/blit.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/surface.h"
#include "skin/painters/control_colours.h"
#include "skin/painters/control_geometry.h"
#include "skin/painters/paint_scale.h"

namespace skin {
namespace {

// CBS_DROPDOWN and CBS_DROPDOWNLIST have this bit; CBS_SIMPLE, which has no drop button, has
// not.
constexpr LONG_PTR kHasDropButtonStyle = 0x2;

void DrawButtonFace(HDC button, int width, int height, SkinState state, const PaintScale& scale) {
  const SpriteCell* face = nullptr;
  if (state == SkinState::Hot) face = &kComboHotFace;
  if (state == SkinState::Pressed) face = &kComboPressedFace;
  if (face == nullptr) {
    FillSolid(button, 0, 0, width, height, kWhite);
    return;
  }
  BlitNineGrid(button, 0, 0, width, height, scale.sheet.combo, Scaled(*face, scale.factor),
               Scaled(kComboFaceMargins, scale.factor));
}

}  // namespace

void PaintComboButton(HWND window, HDC dc, SkinState& state, bool force) {
  if (SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0) state = SkinState::Pressed;
  if (GetSkinState(window) == state && !force) return;
  if ((GetWindowLongPtrW(window, GWL_STYLE) & kHasDropButtonStyle) == 0) return;
  SetSkinState(window, state);

  WindowBounds bounds{};
  GetWindowBounds(window, bounds);
  const PaintScale scale = ScaleOf(window);
  const int width = ComboButtonWidth(GetSystemMetricForDpi(SM_CXVSCROLL, scale.dpi));
  const int height = bounds.height - 2;
  Surface button(width, height);
  DrawButtonFace(button.get(), width, height, state, scale);
  const SpriteCell arrow =
      Scaled(IsWindowEnabled(window) ? kComboArrowEnabled : kComboArrowDisabled, scale.factor);
  BlitTransparent(button.get(), ComboArrowX(width, arrow.width),
                  ComboArrowY(bounds.height, arrow.height), scale.sheet.combo, arrow);

  std::optional<gdi::WindowDc> windowDc;
  if (dc == nullptr) dc = windowDc.emplace(window).get();
  BitBlt(dc, bounds.width - width - 1, 1, width, height, button.get(), 0, 0, SRCCOPY);
}

void PaintComboFace(HWND window, HDC dc, ComboFrameStyle style) {
  WindowBounds bounds{};
  GetWindowBounds(window, bounds);
  const COLORREF frame = FrameColourFor(IsWindowEnabled(window) != FALSE);
  if (style == ComboFrameStyle::FilledBody) {
    FillSolid(dc, 0, 0, bounds.width, bounds.height, kWhite);
    FrameSolid(dc, 0, 0, bounds.width, bounds.height, frame);
  } else {
    FrameSolid(dc, 0, 0, bounds.width, bounds.height, frame);
    FrameSolid(dc, 1, 1, bounds.width - 2, bounds.height - 2, kWhite);
  }
  SkinState state = GetSkinState(window);
  PaintComboButton(window, dc, state, true);
}

}  // namespace skin
