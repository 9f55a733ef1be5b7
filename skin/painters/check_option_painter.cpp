#include "skin/painters/check_option_painter.h"

#include <iterator>

#include "skin/core/skin_props.h"
#include "skin/graphics/blit.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/graphics/surface.h"
#include "skin/painters/control_colours.h"
#include "skin/painters/control_geometry.h"
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
struct MarkPlace {
  int width;
  int height;
  int top;
};

MarkPlace PlaceMark(HWND window) {
  WindowBounds bounds{};
  GetWindowBounds(window, bounds);
  const int width = GetSystemMetrics(SM_CXMENUCHECK);
  const int height = GetSystemMetrics(SM_CYMENUCHECK);
  return {width, height, CentredOffset(bounds.height, height)};
}

// The "OLDSTATE" test shared by both painters: false when the state is already shown and the
// caller does not force a redraw; otherwise stores the new state and returns true.
bool TakeState(HWND window, SkinState state, bool force) {
  if (GetSkinState(window) == state && !force) return false;
  SetSkinState(window, state);
  return true;
}

LRESULT CheckStateOf(HWND window) { return SendMessageW(window, BM_GETCHECK, 0, 0); }

// Stretches the hot or pressed band of the option sprite over the inside of the box.
void TintInside(HDC box, int width, int height, SkinState state) {
  const SpriteCell* band = nullptr;
  if (state == SkinState::Hot) band = &kOptionHotBand;
  if (state == SkinState::Pressed) band = &kOptionPressedBand;
  if (band == nullptr) return;
  StretchBlt(box, 1, 1, width - 2, height - 2, OptionSprite(), band->x, band->y, band->width,
             band->height, SRCCOPY);
}

void DrawGlyphCentred(HDC dest, int boxWidth, int boxHeight, const SpriteCell& glyph) {
  BlitTransparent(dest, CentredOffset(boxWidth, glyph.width),
                  CentredOffset(boxHeight, glyph.height), glyph.width, glyph.height, GlyphSprite(),
                  glyph.x, glyph.y, kKeyColour);
}

}  // namespace

int PaintCheckBox(HWND window, SkinState state, bool force) {
  if (!TakeState(window, state, force)) return 0;
  const MarkPlace mark = PlaceMark(window);
  const LRESULT check = CheckStateOf(window);
  const bool enabled = IsWindowEnabled(window) != FALSE;

  Surface box(mark.width, mark.height);
  gdi::WindowDc windowDc(window);
  FillSolid(box.get(), 0, 0, mark.width, mark.height, kWhite);
  COLORREF frame = kDisabledFrameColour;
  if (enabled) frame = state == SkinState::Pressed ? kPressedFrameColour : kFrameColour;
  FrameSolid(box.get(), 0, 0, mark.width, mark.height, frame);
  if (enabled) TintInside(box.get(), mark.width, mark.height, state);

  if (check >= 0 && check < static_cast<LRESULT>(std::size(kCheckBoxGlyphs))) {
    const GlyphCells& glyph = kCheckBoxGlyphs[check];
    if (glyph.present) {
      DrawGlyphCentred(box.get(), mark.width, mark.height,
                       enabled ? glyph.enabled : glyph.disabled);
    }
  }
  BitBlt(windowDc.get(), 0, mark.top, mark.width, mark.height, box.get(), 0, 0, SRCCOPY);
  return 1;
}

int PaintOptionBox(HWND window, SkinState state, bool force) {
  if (!TakeState(window, state, force)) return 0;
  const MarkPlace mark = PlaceMark(window);
  const LRESULT check = CheckStateOf(window);
  const bool enabled = IsWindowEnabled(window) != FALSE;
  gdi::WindowDc windowDc(window);

  // An enabled control has circles for normal, hot and pressed only; a disabled one always
  // shows the disabled circle.
  int circle = ToInt(SkinState::Disabled);
  if (enabled)
    circle = ToInt(state) >= 0 && ToInt(state) <= ToInt(SkinState::Pressed) ? ToInt(state) : -1;
  if (circle >= 0) {
    BlitNineGrid(windowDc.get(), 0, mark.top, mark.width, mark.height, OptionSprite(),
                 OptionCell(circle), kOptionMargins, kKeyColour);
  }
  if (check == BST_CHECKED) {
    const SpriteCell& dot = enabled ? kGlyphOptionDotEnabled : kGlyphOptionDotDisabled;
    // The dot's top is rounded after adding the mark's top, so odd sizes centre the same way
    // as the mark itself.
    const int x = CentredOffset(mark.width, dot.width);
    const int y = win::RoundHalfToEven((mark.height - dot.height) / 2.0 + mark.top);
    BlitTransparent(windowDc.get(), x, y, dot.width, dot.height, GlyphSprite(), dot.x, dot.y,
                    kKeyColour);
  }
  return 1;
}

}  // namespace skin
