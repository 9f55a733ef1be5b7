#include "skin/painters/button_painter.h"

#include <algorithm>
#include <string>
#include <vector>

#include "skin/core/skin_props.h"
#include "skin/core/skin_state.h"
#include "skin/graphics/blit.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/painters/paint_scale.h"

namespace skin {

namespace {

constexpr int kFullLevel = 255;

COLORREF CaptionColour(int state) {
  return state == ToInt(SkinState::Disabled) ? kButtonDisabledTextColour : kButtonTextColour;
}

// What the four state images of one rendering share.
struct FaceLook {
  WindowBounds bounds;
  std::wstring caption;
  HFONT font;
  bool focused;
  PaintScale scale;
};

void RenderOneState(HDC surface, int state, const FaceLook& look) {
  // The button's font is selected only while the caption is drawn, so the surface never holds
  // on to a font that its owner may delete.
  gdi::SelectGuard fontGuard(surface, look.font);
  SetBkMode(surface, TRANSPARENT);

  // The state surface is off screen, so the face is drawn straight into it.
  const int k = look.scale.factor;
  const int width = look.bounds.width;
  const int height = look.bounds.height;
  ComposeNineGrid(surface, width, height, look.scale.sheet.button, Scaled(ButtonCell(state), k),
                  Scaled(kButtonMargins, k));

  // Caption and focus rectangle keep their place inside the frame, which is k pixels wide.
  const int inset = kButtonTextInset * k;
  SetTextColor(surface, CaptionColour(state));
  DrawTextBox(surface, look.caption, inset, inset, width - 2 * inset, height - 2 * inset,
              kButtonTextFormat);
  if (look.focused) DrawFocusBox(surface, inset, inset, width - 2 * inset, height - 2 * inset);
}

// The rounded region of a button width x height at sprite factor k: the factor-1 region of a
// button width / k x height / k (rounded up), every edge of its rectangles moved k times as far
// from the side it lies nearer to. So each cut corner is that of factor 1 with every pixel a
// k x k square, and the region reaches k pixels beyond the window where at factor 1 it reaches
// one.
gdi::Region CreateButtonRegion(int width, int height, int k) {
  const int unitWidth = (width + k - 1) / k;
  const int unitHeight = (height + k - 1) / k;
  gdi::Region unit(CreateRoundRectRgn(0, 0, unitWidth + 1, unitHeight + 1, kButtonCornerEllipse,
                                      kButtonCornerEllipse));
  if (!unit || k == 1) return unit;
  const DWORD size = GetRegionData(unit.get(), 0, nullptr);
  std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (size == 0 || GetRegionData(unit.get(), size, data) != size) return {};
  const auto scale = [k](LONG position, int unitExtent, int extent) {
    const LONG fromStart = position * k;
    return 2 * position <= unitExtent ? fromStart : fromStart + (extent - unitExtent * k);
  };
  auto* rects = reinterpret_cast<RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i) {
    rects[i] = {scale(rects[i].left, unitWidth, width), scale(rects[i].top, unitHeight, height),
                scale(rects[i].right, unitWidth, width),
                scale(rects[i].bottom, unitHeight, height)};
  }
  RECT& bound = data->rdh.rcBound;
  bound = {scale(bound.left, unitWidth, width), scale(bound.top, unitHeight, height),
           scale(bound.right, unitWidth, width), scale(bound.bottom, unitHeight, height)};
  return gdi::Region(ExtCreateRegion(nullptr, size, data));
}

// The part of the button's rectangle that its region leaves out, in the parent's client
// coordinates: the corners the parent shows once the region is set. No region when it cannot be
// worked out.
gdi::Region CutAwayInParent(HWND button, HWND parent, HRGN region) {
  if (parent == nullptr) return {};
  RECT place{};
  GetWindowRect(button, &place);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
  gdi::Region cut(CreateRectRgnIndirect(&place));
  gdi::Region kept(CreateRectRgn(0, 0, 0, 0));
  if (!cut || !kept || CombineRgn(kept.get(), region, nullptr, RGN_COPY) == ERROR) return {};
  OffsetRgn(kept.get(), place.left, place.top);
  if (CombineRgn(cut.get(), cut.get(), kept.get(), RGN_DIFF) == ERROR) return {};
  return cut;
}

// True when the button has the keyboard focus. The button keeps this in its own state, set and
// cleared as it takes and loses the focus (before the skin's focus handlers render), so asking
// it is the same as asking GetFocus, without GetFocus's call into the window manager (under Wine
// a round trip to its server) on every rendering.
bool HoldsFocus(HWND button) { return (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_FOCUS) != 0; }

// True when the faces should show the focus rectangle: the button holds the focus and its UI
// state, as the store keeps it, does not hide focus cues.
bool ShowsFocusBox(HWND button) { return HoldsFocus(button) && !FocusCuesHidden(button); }

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
  } else if (gdi::WindowDc windowDc(button); windowDc) {
    PutFace(windowDc.get(), surface, bounds, blend);
  }
  return 0;
}

}  // namespace

void SetButtonRegion(HWND button, int width, int height, RegionRedraw redraw) {
  gdi::Region region = CreateButtonRegion(width, height, ScaleOf(button).factor);
  // A region that cannot be made (the process is out of GDI objects) leaves the whole window
  // showing, with square corners, rather than a region of another size.
  if (!region) {
    SetWindowRgn(button, nullptr, TRUE);
    return;
  }
  // The corners of a top-level button uncover other windows, which the platform redraws. A button
  // not on the screen uncovers nothing: it and its parent are painted whole as they are shown.
  HWND parent = GetAncestor(button, GA_PARENT);
  const bool onScreen = IsWindowVisible(button) != FALSE;
  gdi::Region uncovered;
  if (onScreen && redraw == RegionRedraw::CallerRepaintsButton && parent != GetDesktopWindow()) {
    // Worked out before the region passes to the system.
    uncovered = CutAwayInParent(button, parent, region.get());
  }
  // Once set, the region belongs to the system; it stays ours only if the call fails.
  if (SetWindowRgn(button, region.get(), onScreen && !uncovered ? TRUE : FALSE) == 0) return;
  region.release();
  if (uncovered) {
    RedrawWindow(parent, nullptr, uncovered.get(), RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    // The button lies under its own corners too; the erase that reached it there would only be
    // painted over by its face.
    RedrawWindow(button, nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE);
  }
}

bool UiStateHidesFocusCues(HWND button) {
  return (SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
}

void FollowUiStateChange(HWND button, WORD action, WORD elements) {
  switch (action) {
    case UIS_SET:
      if (elements & UISF_HIDEFOCUS) SetFocusCuesHidden(button, true);
      break;
    case UIS_CLEAR:
      if (elements & UISF_HIDEFOCUS) SetFocusCuesHidden(button, false);
      break;
    case UIS_INITIALIZE:
      SetFocusCuesHidden(button, UiStateHidesFocusCues(button));
      break;
    default:
      break;
  }
}

BLENDFUNCTION ButtonBlend(LONG_PTR fadeLevel) {
  const LONG_PTR level = std::clamp<LONG_PTR>(fadeLevel, 0, kFullLevel);
  return BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(level), 0};
}

void RenderButtonStates(HWND button) {
  FaceLook look{{},
                GetWindowCaption(button),
                reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)),
                ShowsFocusBox(button),
                ScaleOf(button)};
  GetWindowBounds(button, look.bounds);
  if (look.scale.sheet.button == nullptr) return;  // never a face from a missing sprite
  for (int state = 0; state < kSkinStateCount; ++state) {
    HDC surface = GetSkinPropHandle<HDC>(button, props::kStateSurface[state]);
    if (surface == nullptr) continue;
    RenderOneState(surface, state, look);
  }
  SetRenderedFaces(button, {look.scale.factor, look.font, look.focused});
}

bool FacesOutOfDate(HWND button) {
  const RenderedFaces rendered = GetRenderedFaces(button);
  return rendered.factor != ScaleOf(button).factor ||
         rendered.font != reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
}

bool FocusBoxOutOfDate(HWND button) {
  return GetRenderedFaces(button).focusBox != ShowsFocusBox(button);
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
