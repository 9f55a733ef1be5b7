#include "skin/painters/button_painter.h"

#include <algorithm>
#include <string>

#include "skin/core/skin_props.h"
#include "skin/core/skin_state.h"
#include "skin/graphics/blit.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_sheet.h"

namespace skin {

namespace {

constexpr int kFullLevel = 255;

COLORREF CaptionColour(int state) {
  return state == ToInt(SkinState::Disabled) ? kButtonDisabledTextColour : kButtonTextColour;
}

void RenderOneState(HWND button, HDC surface, int state, const WindowBounds& bounds,
                    const std::wstring& caption, bool focused) {
  // The button's font is selected only while the caption is drawn, so the surface never holds
  // on to a font that its owner may delete.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
  gdi::SelectGuard fontGuard(surface, font);
  SetBkMode(surface, TRANSPARENT);

  // The state surface is off screen, so the face is drawn straight into it.
  ComposeNineGrid(surface, bounds.width, bounds.height, ButtonSprite(), ButtonCell(state),
                  kButtonMargins);

  const int x = kButtonTextInset;
  const int y = kButtonTextInset;
  const int width = bounds.width - 2 * kButtonTextInset;
  const int height = bounds.height - 2 * kButtonTextInset;
  SetTextColor(surface, CaptionColour(state));
  DrawTextBox(surface, caption, x, y, width, height, kButtonTextFormat);
  if (focused) DrawFocusBox(surface, x, y, width, height);
}

// Puts the state image over the whole button. A constant-alpha blend at full strength (and no
// per-pixel alpha) gives exactly the image's pixels, so at 255 a plain copy does the same work
// for a fraction of the cost; every other level is blended by gdi32 (msimg32's AlphaBlend only
// forwards to it, and msimg32 is a DLL that Windows may take from the program's folder).
void PutFace(HDC target, HDC image, const WindowBounds& bounds, const BLENDFUNCTION& blend) {
  if (blend.SourceConstantAlpha == kFullLevel) {
    BitBlt(target, 0, 0, bounds.width, bounds.height, image, 0, 0, SRCCOPY);
  } else {
    GdiAlphaBlend(target, 0, 0, bounds.width, bounds.height, image, 0, 0, bounds.width,
                  bounds.height, blend);
  }
}

// The drawing of PaintButton once the disabled state is settled and the style allows it.
int BlendButtonFace(HWND button, HDC dc, LONG_PTR fadeLevel) {
  WindowBounds bounds{};
  GetWindowBounds(button, bounds);
  const int state = ToInt(GetSkinState(button));
  const BLENDFUNCTION blend = ButtonBlend(fadeLevel);
  HDC surface = GetSkinPropHandle<HDC>(button, props::kStateSurface[state]);
  if (surface == nullptr) return 0;

  if (dc != nullptr) {
    PutFace(dc, surface, bounds, blend);
  } else {
    gdi::WindowDc windowDc(button);
    PutFace(windowDc.get(), surface, bounds, blend);
  }
  return 0;
}

}  // namespace

void SetButtonRegion(HWND button, int width, int height) {
  gdi::Region region(
      CreateRoundRectRgn(0, 0, width + 1, height + 1, kButtonCornerEllipse, kButtonCornerEllipse));
  // Once set, the region belongs to the system; it stays ours only if the call fails.
  if (region && SetWindowRgn(button, region.get(), TRUE) != 0) region.release();
}

BLENDFUNCTION ButtonBlend(LONG_PTR fadeLevel) {
  const LONG_PTR level = std::clamp<LONG_PTR>(fadeLevel, 0, kFullLevel);
  return BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(level), 0};
}

void RenderButtonStates(HWND button) {
  WindowBounds bounds{};
  GetWindowBounds(button, bounds);
  const std::wstring caption = GetWindowCaption(button);
  const bool focused = GetFocus() == button;
  for (int state = 0; state < kSkinStateCount; ++state) {
    HDC surface = GetSkinPropHandle<HDC>(button, props::kStateSurface[state]);
    if (surface == nullptr) continue;
    RenderOneState(button, surface, state, bounds, caption, focused);
  }
}

int PaintButton(HWND button, HDC dc) {
  return PaintButtonAtLevel(button, dc, GetSkinProp(button, props::kAlphaLevel));
}

int PaintButtonAtLevel(HWND button, HDC dc, LONG_PTR fadeLevel) {
  if (!IsWindowEnabled(button)) SetSkinState(button, SkinState::Disabled);
  if (!IsSkinDrawnButtonStyle(GetSkinProp(button, props::kOldStyle))) return 0;
  return BlendButtonFace(button, dc, fadeLevel);
}

int PaintSkinDrawnButton(HWND button, HDC dc, LONG_PTR fadeLevel) {
  if (!IsWindowEnabled(button)) SetSkinState(button, SkinState::Disabled);
  return BlendButtonFace(button, dc, fadeLevel);
}

}  // namespace skin
