#include "skin/messages/button_attach.h"

#include <algorithm>

#include "skin/core/skin_props.h"
#include "skin/core/skin_state.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/surface.h"
#include "skin/messages/button_accessible.h"
#include "skin/messages/fade_timer.h"
#include "skin/painters/button_painter.h"

namespace skin {

namespace {

constexpr LONG_PTR kButtonTypeMask = BS_TYPEMASK;

// The bitmap of a state surface: a 32-bit top-down DIB section of the button's full outer size,
// at least one pixel each way, so that a button of no size still has its four surfaces.
HBITMAP CreateStateBitmap(const WindowBounds& bounds) {
  return CreateTopDownDib(std::max(bounds.width, 1), std::max(bounds.height, 1));
}

// Four state surfaces: a memory DC each with a bitmap of its own. All four are made before any is
// kept, so that a button gets all of them or none (false: the process is out of GDI objects).
// The properties own them until the detach.
bool CreateStateSurfaces(HWND button, const WindowBounds& bounds) {
  // The DCs end before the bitmaps: deleting a DC frees its selection.
  gdi::Bitmap bitmaps[kSkinStateCount];
  gdi::MemoryDc surfaces[kSkinStateCount];
  for (int state = 0; state < kSkinStateCount; ++state) {
    surfaces[state] = gdi::MemoryDc(nullptr);
    bitmaps[state].reset(CreateStateBitmap(bounds));
    if (!surfaces[state] || !bitmaps[state]) return false;
    if (SelectObject(surfaces[state].get(), bitmaps[state].get()) == nullptr) return false;
  }
  for (int state = 0; state < kSkinStateCount; ++state) {
    SetSkinPropHandle(button, props::kStateSurface[state], surfaces[state].release());
    SetSkinPropHandle(button, props::kStateBitmap[state], bitmaps[state].release());
  }
  return true;
}

void DestroyStateSurfaces(HWND button) {
  for (int state = 0; state < kSkinStateCount; ++state) {
    // The bitmap's owner is declared first so that it ends last: deleting the DC first frees its
    // selection, and the bitmap can be deleted after it.
    const gdi::Bitmap bitmap(GetSkinPropHandle<HBITMAP>(button, props::kStateBitmap[state]));
    const gdi::CreatedDc surface(GetSkinPropHandle<HDC>(button, props::kStateSurface[state]));
    RemoveSkinProp(button, props::kStateSurface[state]);
    RemoveSkinProp(button, props::kStateBitmap[state]);
  }
}

}  // namespace

bool AttachButton(HWND button) {
  WindowBounds bounds{};
  GetWindowBounds(button, bounds);
  if (!CreateStateSurfaces(button, bounds)) return false;
  SetFocusCuesHidden(button, UiStateHidesFocusCues(button));
  RenderButtonStates(button);
  const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
  // Neither the style change nor the region redraws the button on its own: the attach repaints
  // it once, with its face, when it is done.
  if (IsSkinDrawnButtonStyle(style)) SendMessageW(button, BM_SETSTYLE, BS_OWNERDRAW, FALSE);
  SetSkinProp(button, props::kOldStyle, style);
  SetSkinProp(button, props::kMouseFlag, 0);
  SetSkinProp(button, props::kTimerId, 0);
  SetSkinState(button, IsWindowEnabled(button) ? SkinState::Normal : SkinState::Disabled);
  SetSkinProp(button, props::kAlphaLevel, 0);
  SetButtonRegion(button, bounds.width, bounds.height, RegionRedraw::CallerRepaintsButton);
  return true;
}

void DetachButton(HWND button) {
  ReleasePushButtonObject(button);
  DestroyStateSurfaces(button);
  StopFadeTimer(button);
  // Only the button type was switched to owner-drawn; every other style bit (enabled, visible)
  // may have changed since the attach and stays as it is now.
  const LONG_PTR oldStyle = GetSkinProp(button, props::kOldStyle);
  const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
  SetWindowLongPtrW(button, GWL_STYLE, (style & ~kButtonTypeMask) | (oldStyle & kButtonTypeMask));
  for (const char* key : {props::kOldStyle, props::kMouseFlag, props::kTimerId, props::kOldState,
                          props::kAlphaLevel}) {
    RemoveSkinProp(button, key);
  }
  SetWindowRgn(button, nullptr, TRUE);
}

bool ResizeStateSurfaces(HWND button, const WindowBounds& bounds) {
  // All four bitmaps before any is put in place: the surfaces never hold images of two sizes.
  gdi::Bitmap bitmaps[kSkinStateCount];
  for (gdi::Bitmap& bitmap : bitmaps) {
    bitmap.reset(CreateStateBitmap(bounds));
    if (!bitmap) return false;
  }
  for (int state = 0; state < kSkinStateCount; ++state) {
    HDC surface = GetSkinPropHandle<HDC>(button, props::kStateSurface[state]);
    if (surface == nullptr) continue;
    gdi::Bitmap replaced(static_cast<HBITMAP>(SelectObject(surface, bitmaps[state].get())));
    // The surface owns the new bitmap now; "BMPn" names it for the detach.
    SetSkinPropHandle(button, props::kStateBitmap[state], bitmaps[state].release());
  }
  return true;
}

}  // namespace skin
