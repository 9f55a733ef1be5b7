#include "skin/painters/check_option_painter.h"

#include <iterator>

#include "skin/core/skin_props.h"
#include "skin/graphics/blit.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/surface.h"
#include "skin/painters/control_colours.h"
#include "skin/painters/control_geometry.h"
#include "skin/painters/paint_scale.h"
#include "win/rounding.h"

namespace skin {

using win::CentredOffset;
namespace {

// Glyph of a check state (BM_GETCHECK: 0 none, 1 checked, 2 indeterminate) in the enabled and
// the disabled column of the glyph sprite.
struct GlyphCells {
  bool present;
  SpriteCell enabled;
  SpriteCell disabled;
};

constexpr GlyphCells kCheckBoxGlyphs[] = {
    {false, {}, {}},
    {true, kGlyphCheckEnabled, kGlyphCheckDisabled},
    {true, kGlyphIndeterminateEnabled, kGlyphIndeterminateDisabled},
};

// The size of the mark and where its top lies in the window.
// The size is the menu check mark's at the window's DPI; the sprites are drawn at its factor.
struct MarkPlace {
  int width;
  int height;
  int top;
  PaintScale scale;
};

MarkPlace PlaceMark(HWND window) {
  WindowBounds bounds{};
  GetWindowBounds(window, bounds);
  const PaintScale scale = ScaleOf(window);
  const int width = GetSystemMetricForDpi(SM_CXMENUCHECK, scale.dpi);
  const int height = GetSystemMetricForDpi(SM_CYMENUCHECK, scale.dpi);
  return {width, height, CentredOffset(bounds.height, height), scale};
}

// The "OLDSTATE" test shared by both painters: true when the state is shown already and the
// caller does not force a redraw. The state is stored once the painter has what it draws with: a
// GDI object that cannot be made leaves the mark as it is, the platform's own under a paint, and
// the state not taken.
bool AlreadyShown(HWND window, SkinState state, bool force) {
  return GetSkinState(window) == state && !force;
}

LRESULT CheckStateOf(HWND window) { return SendMessageW(window, BM_GETCHECK, 0, 0); }

// The box's frame: as many one-pixel rings as the sprite factor, so that it matches the outline
// of the option circles, which scale with their sprite.
void FrameBox(HDC box, const MarkPlace& mark, COLORREF colour) {
  for (int ring = 0; ring < mark.scale.factor; ++ring) {
    FrameSolid(box, ring, ring, mark.width - 2 * ring, mark.height - 2 * ring, colour);
  }
}

// Stretches the hot or pressed band of the option sprite over the inside of the frame.
void TintInside(HDC box, const MarkPlace& mark, SkinState state) {
  const SpriteCell* band = nullptr;
  if (state == SkinState::Hot) band = &kOptionHotBand;
  if (state == SkinState::Pressed) band = &kOptionPressedBand;
  if (band == nullptr) return;
  const int k = mark.scale.factor;
  const SpriteCell source = Scaled(*band, k);
  StretchBlt(box, k, k, mark.width - 2 * k, mark.height - 2 * k, mark.scale.sheet.option, source.x,
             source.y, source.width, source.height, SRCCOPY);
}

void DrawGlyphCentred(HDC dest, const MarkPlace& mark, const SpriteCell& cell) {
  const SpriteCell glyph = Scaled(cell, mark.scale.factor);
  BlitTransparent(dest, CentredOffset(mark.width, glyph.width),
                  CentredOffset(mark.height, glyph.height), mark.scale.sheet.glyph, glyph);
}

}  // namespace

int PaintCheckBox(HWND window, SkinState state, bool force) {
  if (AlreadyShown(window, state, force)) return 0;
  const MarkPlace mark = PlaceMark(window);
  const LRESULT check = CheckStateOf(window);
  const bool enabled = IsWindowEnabled(window) != FALSE;

  Surface box(mark.width, mark.height);
  gdi::WindowDc windowDc(window);
  if (!box || !windowDc) return 0;
  SetSkinState(window, state);
  FillSolid(box.get(), 0, 0, mark.width, mark.height, kWhite);
  COLORREF frame = kDisabledFrameColour;
  if (enabled) frame = state == SkinState::Pressed ? kPressedFrameColour : kFrameColour;
  FrameBox(box.get(), mark, frame);
  if (enabled) TintInside(box.get(), mark, state);

  if (check >= 0 && check < static_cast<LRESULT>(std::size(kCheckBoxGlyphs))) {
    const GlyphCells& glyph = kCheckBoxGlyphs[check];
    if (glyph.present) {
      DrawGlyphCentred(box.get(), mark, enabled ? glyph.enabled : glyph.disabled);
    }
  }
  BitBlt(windowDc.get(), 0, mark.top, mark.width, mark.height, box.get(), 0, 0, SRCCOPY);
  return 1;
}

int PaintOptionBox(HWND window, SkinState state, bool force) {
  if (AlreadyShown(window, state, force)) return 0;
  const MarkPlace mark = PlaceMark(window);
  const LRESULT check = CheckStateOf(window);
  const bool enabled = IsWindowEnabled(window) != FALSE;
  gdi::WindowDc windowDc(window);
  if (!windowDc) return 0;
  SetSkinState(window, state);

  // An enabled control has circles for normal, hot and pressed only; a disabled one always
  // shows the disabled circle.
  int circle = ToInt(SkinState::Disabled);
  if (enabled)
    circle = ToInt(state) >= 0 && ToInt(state) <= ToInt(SkinState::Pressed) ? ToInt(state) : -1;
  if (circle >= 0) {
    const int k = mark.scale.factor;
    BlitNineGrid(windowDc.get(), 0, mark.top, mark.width, mark.height, mark.scale.sheet.option,
                 Scaled(OptionCell(circle), k), Scaled(kOptionMargins, k), kKeyColour);
  }
  if (check == BST_CHECKED) {
    const SpriteCell dot =
        Scaled(enabled ? kGlyphOptionDotEnabled : kGlyphOptionDotDisabled, mark.scale.factor);
    // The dot's top is rounded after adding the mark's top, so odd sizes centre the same way
    // as the mark itself.
    const int x = CentredOffset(mark.width, dot.width);
    const int y = win::RoundHalfToEven((mark.height - dot.height) / 2.0 + mark.top);
    BlitTransparent(windowDc.get(), x, y, mark.scale.sheet.glyph, dot);
  }
  return 1;
}

}  // namespace skin
