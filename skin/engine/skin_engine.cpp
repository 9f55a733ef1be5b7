#include "skin/engine/skin_engine.h"

#include "skin/engine/high_contrast.h"
#include "skin/engine/late_windows.h"
#include "skin/core/skin_family.h"
#include "skin/core/skin_props.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/messages/button_accessible.h"
#include "skin/messages/pointer_tracking.h"
#include "skin/messages/skin_window_proc.h"
#include "skin/painters/button_painter.h"
#include "win/dll_search.h"
#include "win/callback_barrier.h"
#include "win/dpi.h"
#include "win/unique_handle.h"

namespace skin {

namespace {

// Module state: the only state the engine keeps outside the property store, the sprite sheets
// and the pointer tracking. Like all of those (and the watch for late windows, and the registry
// of surfaces) it is kept per thread, not guarded: a window is attached, drawn and detached on
// its own thread only, so each user-interface thread that skins windows has an engine of its own
// and shares nothing with another. That is the simpler of the two: no lock to take on every
// message, none held while the engine sends a window of another thread a message (which could
// deadlock), and no memory DC drawn from by two threads (a DC serves one thread at a time). Only
// plain values are kept per thread, so nothing needs destroying as a thread ends (the system may
// still deliver the last messages of its windows after that).
thread_local int skinnedWindowCount = 0;

constexpr UINT kRepaintFlags = RDW_INVALIDATE | RDW_INTERNALPAINT;

// A combo box's drop-down list is a child of the desktop, not of the form, and takes the skin when
// it first asks for its colours; it leaves with its combo box, so that a form's removal takes
// the skin off everything that was put on for the form. (The list of a simple combo box is an
// ordinary child and would be reached by the form's enumeration as well.)
void DetachDropDownList(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (GetComboBoxInfo(combo, &info)) SkinDetachWindow(info.hwndList);
}

// The windows that lose the skin with a window, before it: a form's descendants, a combo box's
// drop-down list.
void DetachCompanions(HWND window, SkinFamily family) {
  switch (family) {
    case SkinFamily::Form:
      EnumChildWindows(window, DetachChildCallback, 0);
      break;
    case SkinFamily::ComboBox:
    case SkinFamily::DriveList:
      DetachDropDownList(window);
      break;
    default:
      break;
  }
}

void Repaint(HWND window) {
  DWORD unused = 0;
  SendMessageW(window, WM_NCPAINT, 1, reinterpret_cast<LPARAM>(&unused));
  RedrawWindow(window, nullptr, nullptr, kRepaintFlags);
}

bool HasNonClientArea(HWND window) {
  RECT outer{};
  RECT client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  return outer.right - outer.left != client.right || outer.bottom - outer.top != client.bottom;
}

// The repaint that ends an attach. A window not on the screen (one being made, as a dialog is
// before it is shown) gets none: showing it paints it whole, frame and all. A push button with
// nothing around its client area (the usual kind) has nothing for WM_NCPAINT to paint: the skin
// draws its whole face on WM_PAINT. It gets only the invalidation, and saves the window DC that
// the message would take.
void RepaintAttached(HWND window, SkinFamily family) {
  if (!IsWindowVisible(window)) return;
  if (family == SkinFamily::Button && !HasNonClientArea(window)) {
    RedrawWindow(window, nullptr, nullptr, kRepaintFlags);
    return;
  }
  Repaint(window);
}

// Only windows of the calling thread can be subclassed and painted by the skin, and only their
// thread takes the skin off again: its store and its count hold their state.
bool IsOwnThreadWindow(HWND window) {
  return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

// Every skinned window holds one use of the sprite sheet of the factor it is drawn at.
int SpriteFactorOfWindow(HWND window) { return SpriteFactorForDpi(GetSkinDpi(window)); }

// The sprites a window of the family needs built before it takes the skin, and again at every DPI
// it moves to: those its family draws from, and the button sprite for every window, the one the
// push buttons of every skinned form draw from. So a window is skinned only where the skin can
// draw a form's buttons, as when the sheet was made whole, and a form of push buttons still
// makes the button sprite alone.
Sprites SpritesToAttach(SkinFamily family) { return SpritesOfFamily(family) | Sprites::Button; }

void MoveToDpi(HWND window, int dpi) {
  if (SkinHoldOf(window) != SkinHold::kSkinned) return;
  const int from = SpriteFactorOfWindow(window);
  const int to = SpriteFactorForDpi(dpi);
  // The new sheet first, so that a sheet still used by the window is not released and built again.
  // A window whose new sheet cannot be made (the process is out of GDI objects) lets go of the
  // skin, with everything inside it, and is drawn by the platform at its new DPI.
  if (to != from) {
    if (!UseSpriteSheet(to, SpritesToAttach(GetSkinTraits(window).family))) {
      SkinDetachWindow(window);
      return;
    }
    DropSpriteSheet(from);
  }
  SetSkinDpi(window, dpi);
}

BOOL CALLBACK MoveChildToDpi(HWND window, LPARAM dpi) {
  return win::CallGuarded(TRUE, [&] {
    MoveToDpi(window, static_cast<int>(dpi));
    return TRUE;
  });
}

// One window that is being destroyed: the skin comes off it now, since another subclass may keep
// its WM_DESTROY from the skin's procedure, and its entry ends.
BOOL CALLBACK ForgetDestroyedWindow(HWND window, LPARAM) {
  return win::CallGuarded(TRUE, [&] {
    if (!RemembersWindow(window)) return TRUE;
    SkinDetachWindow(window);
    EndSkinEntry(window);
    return TRUE;
  });
}

BOOL CALLBACK RemoveFromTopLevelWindow(HWND window, LPARAM removed) {
  return win::CallGuarded(TRUE, [&] {
    if (IsSkinned(window)) *reinterpret_cast<int*>(removed) |= SkinRemove(window);
    return TRUE;
  });
}

// The window of a link has had its last message: with no window held any more, the watch for
// late windows stops.
void StopWatchingWhenNothingHeld() {
  if (skinnedWindowCount == 0 && !RemembersAnyWindow()) StopWatchingForLateWindows();
}

// What the window procedure and the watch for late windows call on the engine, as messages and
// the watch's hook announce windows that come and go. The engine hands them over as it installs
// the procedure and starts the watch, so that neither includes the engine.
constexpr EngineCalls kWindowProcCalls = {
    .attach = SkinAttachWindow,
    .detach = SkinDetachWindow,
    .keepDpi = SkinKeepDpi,
    .attachLateWindows = AttachLateWindows,
    .linkEnded = StopWatchingWhenNothingHeld,
};
constexpr LateWindowCalls kLateWindowCalls = {
    .attach = SkinAttachWindow,
    .forgetDestroyed = SkinForgetDestroyedWindow,
};

}  // namespace

int SkinInstall(HWND window) {
  if (HighContrastOn()) return 0;  // the platform's own look follows the user's scheme
  if (!SpriteSheetBuilt()) {
    SetHasUserTrackMouseEvent(ProbeExport("TrackMouseEvent", "User32"));
  }
  return SkinAttachWindow(window);
}

int SkinRemove(HWND window) { return SkinDetachWindow(window); }

int SkinFollowHighContrast(HWND form) {
  if (!HighContrastOn()) return SkinInstall(form);
  int removed = 0;
  EnumThreadWindows(GetCurrentThreadId(), RemoveFromTopLevelWindow,
                    reinterpret_cast<LPARAM>(&removed));
  return removed;
}

// The attach reads in five steps: the engine decides, the store records, the family's attach puts
// the family's state on, the store marks the window skinned and the skin's procedure goes in, and
// one repaint shows the result.
int SkinAttachWindow(HWND window) {
  if (window == nullptr || !IsOwnThreadWindow(window)) return 0;
  // Decide. Whether the skin holds the window already, the store alone says. A window it holds
  // is never attached again (the skin's procedure, or another that forwards to it, would become
  // its own previous one, and every message would go round without end): its marker is put back
  // where someone took it off, and only windows new inside it are attached.
  const SkinHold hold = SkinHoldOf(window);
  if (hold == SkinHold::kSkinned) {
    RestoreSkinProp(window, props::kProcAddr);
    if (GetSkinTraits(window).family == SkinFamily::Form) {
      EnumChildWindows(window, AttachChildCallback, 0);
    }
    return 0;
  }
  const SkinTraits traits{GetSkinFamily(window), IsWindowUnicode(window) != FALSE};
  // A window of the system button class that is not a push button (a check box, a radio button,
  // a group box, a button owner-drawn already) keeps its own drawing and behaviour; the skin would
  // only weigh it down (surfaces, a region that cuts its corners).
  if (traits.family == SkinFamily::Button &&
      !IsSkinDrawnButtonStyle(GetWindowLongPtrW(window, GWL_STYLE))) {
    return 0;
  }
  // A form's descendants take the skin before it.
  if (traits.family == SkinFamily::Form) EnumChildWindows(window, AttachChildCallback, 0);
  // Record. A window whose sprite sheet or own GDI objects cannot be made (the process is out of
  // them) stays as it is, drawn by the platform: the record ends with nothing of the skin on it.
  SkinRecord record(window, traits);
  const int factor = SpriteFactorForDpi(record.dpi());
  if (!UseSpriteSheet(factor, SpritesToAttach(traits.family))) return 0;
  // The family's attach, and the skin's procedure where it is not in the window's chain already.
  if (!AttachFamilyState(window, traits.family)) {
    DropSpriteSheet(factor);
    return 0;
  }
  // The marker, before the skin's procedure reads it. A window that cannot take it (the desktop
  // heap or the atom table is exhausted) would pass every message to the default procedure: it
  // loses the family's state again and stays as it was, with its own procedure or the link.
  if (!record.Keep()) {
    DetachFamilyState(window, traits.family);
    DropSpriteSheet(factor);
    return 0;
  }
  if (!record.reusesLink()) InstallSkinWindowProc(window, traits.unicode, kWindowProcCalls);
  // Windows created later inside skinned windows are watched for while the engine has any.
  if (++skinnedWindowCount == 1) StartWatchingForLateWindows(kLateWindowCalls);
  RepaintAttached(window, traits.family);
  return 1;
}

int SkinDetachWindow(HWND window) {
  // Only a window the store holds skinned: a marker on any other window is someone else's.
  if (window == nullptr || !IsOwnThreadWindow(window) || SkinHoldOf(window) != SkinHold::kSkinned) {
    return 0;
  }
  LateWindowsHold hold;
  const SkinTraits traits = GetSkinTraits(window);
  const int factor = SpriteFactorOfWindow(window);
  DetachCompanions(window, traits.family);
  DetachFamilyState(window, traits.family);
  TakeOutSkinWindowProc(window, traits.unicode);
  Repaint(window);
  DropSpriteSheet(factor);
  if (--skinnedWindowCount <= 0) {
    skinnedWindowCount = 0;
    // Links still held are watched for their windows' end.
    if (!RemembersAnyWindow()) StopWatchingForLateWindows();
  }
  return 1;
}

void SkinForgetDestroyedWindow(HWND window) {
  ForgetDestroyedWindow(window, 0);
  EnumChildWindows(window, ForgetDestroyedWindow, 0);
}

void SkinKeepDpi(HWND window, int dpi) {
  if (dpi <= 0 || !IsSkinned(window)) return;
  MoveToDpi(window, dpi);
  EnumChildWindows(window, MoveChildToDpi, dpi);
}

// Enumeration callbacks: an exception stops here, and the enumeration goes on with the next
// window.
BOOL CALLBACK AttachChildCallback(HWND window, LPARAM) {
  return win::CallGuarded(TRUE, [&] {
    SkinAttachWindow(window);
    return TRUE;
  });
}

BOOL CALLBACK DetachChildCallback(HWND window, LPARAM) {
  return win::CallGuarded(TRUE, [&] {
    SkinDetachWindow(window);
    return TRUE;
  });
}

void SkinSetButtonDescriptionSource(ButtonDescriptionSource source) {
  SetButtonDescriptionSource(source);
}

bool ProbeExport(const char* functionName, const char* libraryName) {
  // A library loaded for the look-up comes from the system directory only, never from the
  // program's folder, and is released again as its owner ends.
  win::Module loaded;
  HMODULE module = GetModuleHandleA(libraryName);
  if (module == nullptr) {
    wchar_t name[MAX_PATH] = {};
    if (MultiByteToWideChar(CP_ACP, 0, libraryName, -1, name, MAX_PATH) == 0) return false;
    loaded.reset(win::LoadSystemLibrary(name));
    module = loaded.get();
  }
  return module != nullptr && GetProcAddress(module, functionName) != nullptr;
}

int SkinnedWindowCount() { return skinnedWindowCount; }

}  // namespace skin
