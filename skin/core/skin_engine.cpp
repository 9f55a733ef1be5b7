#include "skin/core/skin_engine.h"

#include "skin/core/high_contrast.h"
#include "skin/core/late_windows.h"
#include "skin/core/skin_kind.h"
#include "skin/core/skin_props.h"
#include "skin/core/skin_state.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/messages/skin_window_proc.h"
#include "skin/painters/button_painter.h"
#include "skin/painters/hover_fade.h"

namespace skin {

namespace {

// Module state: the only state the engine keeps outside the property store.
bool hasUserTrackMouseEvent = false;
int skinnedWindowCount = 0;

constexpr LONG_PTR kButtonTypeMask = BS_TYPEMASK;
constexpr LONG_PTR kNoHeaderItem = -1;
constexpr UINT kRepaintFlags = RDW_INVALIDATE | RDW_INTERNALPAINT;

// Four state surfaces of the button's full outer size, compatible with its window DC; the
// properties own them until the detach. The first is made from the window DC and the others
// from the first, which then holds a bitmap of the window DC's format: the same surfaces, for
// less, since under Wine a bitmap asked of a display DC costs a round through the display
// driver that one asked of a memory DC does not.
void CreateStateSurfaces(HWND button, HDC windowDc, const WindowBounds& bounds) {
  HDC model = windowDc;
  for (int state = 0; state < kSkinStateCount; ++state) {
    gdi::MemoryDc surface(model);
    gdi::Bitmap bitmap(CreateCompatibleBitmap(model, bounds.width, bounds.height));
    if (surface && bitmap && SelectObject(surface.get(), bitmap.get()) != nullptr &&
        model == windowDc) {
      model = surface.get();
    }
    SetSkinPropHandle(button, props::kStateSurface[state], surface.release());
    SetSkinPropHandle(button, props::kStateBitmap[state], bitmap.release());
  }
}

void DestroyStateSurfaces(HWND button) {
  for (int state = 0; state < kSkinStateCount; ++state) {
    // Deleting the DC first frees its selection, so the bitmap can be deleted after it.
    DeleteDC(GetSkinPropHandle<HDC>(button, props::kStateSurface[state]));
    DeleteObject(GetSkinPropHandle<HBITMAP>(button, props::kStateBitmap[state]));
    RemoveSkinProp(button, props::kStateSurface[state]);
    RemoveSkinProp(button, props::kStateBitmap[state]);
  }
}

void AttachButton(HWND button) {
  WindowBounds bounds{};
  GetWindowBounds(button, bounds);
  {
    gdi::WindowDc windowDc(button);
    CreateStateSurfaces(button, windowDc.get(), bounds);
    RenderButtonStates(button);
  }
  const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
  if (IsSkinDrawnButtonStyle(style)) SendMessageW(button, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
  SetSkinProp(button, props::kOldStyle, style);
  SetSkinProp(button, props::kMouseFlag, 0);
  SetSkinProp(button, props::kTimerId, 0);
  SetSkinState(button, IsWindowEnabled(button) ? SkinState::Normal : SkinState::Disabled);
  SetSkinProp(button, props::kAlphaLevel, 0);
  SetButtonRegion(button, bounds.width, bounds.height);
}

// A combo box's drop-down list is a child of the desktop, not of the form, and takes the skin when
// it first asks for its colours; it leaves with its combo box, so that a form's removal takes
// the skin off everything that was put on for the form. (The list of a simple combo box is an
// ordinary child and would be reached by the form's enumeration as well.)
void DetachDropDownList(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (GetComboBoxInfo(combo, &info)) SkinDetachWindow(info.hwndList);
}

void DetachButton(HWND button) {
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

// Per-kind state at attach. Data lists, drop-down lists and grids carry only "PROCADDR".
void PrepareWindow(HWND window, SkinKind kind) {
  switch (kind) {
    case SkinKind::Form:
      EnumChildWindows(window, AttachChildCallback, 0);
      break;
    case SkinKind::Button:
      AttachButton(window);
      break;
    case SkinKind::Combo:
    case SkinKind::Check:
    case SkinKind::Option:
      SetSkinProp(window, props::kMouseFlag, 0);
      SetSkinState(window, SkinState::Normal);
      break;
    case SkinKind::Header:
      SetSkinProp(window, props::kMouseFlag, 0);
      SetSkinProp(window, props::kHeaderDownIndex, kNoHeaderItem);
      SetSkinProp(window, props::kHeaderHotIndex, kNoHeaderItem);
      break;
    default:
      break;
  }
}

void UnprepareWindow(HWND window, SkinKind kind) {
  switch (kind) {
    case SkinKind::Form:
      EnumChildWindows(window, DetachChildCallback, 0);
      break;
    case SkinKind::Button:
      DetachButton(window);
      break;
    case SkinKind::Combo:
      DetachDropDownList(window);
      RemoveSkinProp(window, props::kMouseFlag);
      RemoveSkinProp(window, props::kOldState);
      break;
    case SkinKind::Check:
    case SkinKind::Option:
      RemoveSkinProp(window, props::kMouseFlag);
      RemoveSkinProp(window, props::kOldState);
      break;
    case SkinKind::Header:
      RemoveSkinProp(window, props::kMouseFlag);
      RemoveSkinProp(window, props::kHeaderDownIndex);
      RemoveSkinProp(window, props::kHeaderHotIndex);
      break;
    default:
      break;
  }
}

// The window procedure is swapped with the function of the window's own character set, so text
// messages are not squeezed through the ANSI code page on their way to the previous procedure.
LONG_PTR SwapWindowProc(HWND window, LONG_PTR procedure) {
  return IsWindowUnicode(window) ? SetWindowLongPtrW(window, GWLP_WNDPROC, procedure)
                                 : SetWindowLongPtrA(window, GWLP_WNDPROC, procedure);
}

void Repaint(HWND window) {
  DWORD unused = 0;
  SendMessageW(window, WM_NCPAINT, 1, reinterpret_cast<LPARAM>(&unused));
  RedrawWindow(window, nullptr, nullptr, kRepaintFlags);
}

// Only windows of the calling thread can be subclassed and painted by the skin.
bool IsOwnThreadWindow(HWND window) {
  return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

// A window of the system button class that is not a push button (a check box, a radio button, a
// group box, a button owner-drawn already) keeps its own drawing and behaviour; the skin would
// only weigh it down (surfaces, a region that cuts its corners), so it is not attached at all.
bool TakesTheSkin(HWND window, SkinKind kind) {
  return kind != SkinKind::Button || IsSkinDrawnButtonStyle(GetWindowLongPtrW(window, GWL_STYLE));
}

}  // namespace

int SkinInstall(HWND window) {
  if (HighContrastOn()) return 0;  // the platform's own look follows the user's scheme
  if (!SpriteSheetBuilt) {
    SpriteSheetBuilt = true;
    hasUserTrackMouseEvent = ProbeExport("TrackMouseEvent", "User32");
    BuildSpriteSheet();
  }
  return SkinAttachWindow(window);
}

int SkinRemove(HWND window) { return SkinDetachWindow(window); }

int SkinAttachWindow(HWND window) {
  // Asked of the window, not of memory: a window new to the skin may have the handle of one
  // that was destroyed without the skin being taken off.
  if (window == nullptr || !IsOwnThreadWindow(window) || WindowCarriesSkin(window)) return 0;
  const SkinKind kind = GetSkinKind(window);
  if (!TakesTheSkin(window, kind)) return 0;
  RememberSkinProps(window);
  PrepareWindow(window, kind);
  // Windows created later inside skinned windows are watched for while the engine has any.
  if (++skinnedWindowCount == 1) StartWatchingForLateWindows();
  const LONG_PTR previous = SwapWindowProc(window, reinterpret_cast<LONG_PTR>(SkinWindowProc));
  SetSkinProp(window, props::kProcAddr, previous);
  Repaint(window);
  return 1;
}

int SkinDetachWindow(HWND window) {
  if (window == nullptr) return 0;
  const LONG_PTR previous = GetSkinProp(window, props::kProcAddr);
  if (previous == 0) return 0;
  LateWindowsHold hold;
  UnprepareWindow(window, GetSkinKind(window));
  RemoveSkinProp(window, props::kProcAddr);
  SwapWindowProc(window, previous);
  Repaint(window);
  if (--skinnedWindowCount <= 0) {
    skinnedWindowCount = 0;
    StopWatchingForLateWindows();
    ReleaseSpriteSheet();
  }
  return 1;
}

BOOL CALLBACK AttachChildCallback(HWND window, LPARAM) {
  SkinAttachWindow(window);
  return TRUE;
}

BOOL CALLBACK DetachChildCallback(HWND window, LPARAM) {
  SkinDetachWindow(window);
  return TRUE;
}

bool ProbeExport(const char* functionName, const char* libraryName) {
  HMODULE module = GetModuleHandleA(libraryName);
  HMODULE loaded = nullptr;
  if (module == nullptr) module = loaded = LoadLibraryA(libraryName);
  if (module == nullptr) return false;
  const bool found = GetProcAddress(module, functionName) != nullptr;
  if (loaded != nullptr) FreeLibrary(loaded);
  return found;
}

bool HasUserTrackMouseEvent() { return hasUserTrackMouseEvent; }

int SkinnedWindowCount() { return skinnedWindowCount; }

}  // namespace skin
