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

bool HasDropButton(HWND window) {
  return (GetWindowLongPtrW(window, GWL_STYLE) & kHasDropButtonStyle) != 0;
}

// The drop button in `state`, composed off-screen, and where it goes in the window. The image is
// empty where its surface cannot be made (the process is out of GDI objects).
struct DropButton {
  Surface image;
  int x;
  int width;
  int height;
};

DropButton ComposeDropButton(HWND window, SkinState state) {
  WindowBounds bounds{};
  GetWindowBounds(window, bounds);
  const PaintScale scale = ScaleOf(window);
  const int width = ComboButtonWidth(GetSystemMetricForDpi(SM_CXVSCROLL, scale.dpi));
  DropButton button{Surface(width, bounds.height - 2), bounds.width - width - 1, width,
                    bounds.height - 2};
  if (!button.image) return button;
  DrawButtonFace(button.image.get(), width, button.height, state, scale);
  const SpriteCell arrow =
      Scaled(IsWindowEnabled(window) ? kComboArrowEnabled : kComboArrowDisabled, scale.factor);
  BlitTransparent(button.image.get(), ComboArrowX(width, arrow.width),
                  ComboArrowY(bounds.height, arrow.height), scale.sheet.combo, arrow);
  return button;
}

void PutDropButton(HWND window, HDC dc, SkinState state, const DropButton& button) {
  SetSkinState(window, state);
  BitBlt(dc, button.x, 1, button.width, button.height, button.image.get(), 0, 0, SRCCOPY);
}

}  // namespace

void PaintComboButton(HWND window, HDC dc, SkinState& state, bool force) {
  if (SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0) state = SkinState::Pressed;
  if (GetSkinState(window) == state && !force) return;
  if (!HasDropButton(window)) return;
  const DropButton button = ComposeDropButton(window, state);
  std::optional<gdi::WindowDc> windowDc;
  if (dc == nullptr) dc = windowDc.emplace(window).get();
  // Nothing to draw with: the button keeps what it shows, and the state is not taken.
  if (!button.image || dc == nullptr) return;
  PutDropButton(window, dc, state, button);
}

bool PaintComboFace(HWND window, HDC dc, ComboFrameStyle style) {
  if (dc == nullptr) return false;
  SkinState state = GetSkinState(window);
  if (SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0) state = SkinState::Pressed;
  // The button is composed before anything is drawn, so that a face is drawn whole or not at all.
  const bool hasButton = HasDropButton(window);
  const DropButton button = hasButton ? ComposeDropButton(window, state) : DropButton{};
  if (hasButton && !button.image) return false;

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
  if (hasButton) PutDropButton(window, dc, state, button);
  return true;
}

}  // namespace skin
