#pragma once

// The one window procedure that every skinned window gets. It treats twenty-four messages and
// hands every other one to the window's previous procedure (kept by the store, and under
// "PROCADDR"). After every message it has the engine attach the windows that have appeared inside
// skinned windows since they were created (see skin/engine/late_windows.h).

#include <windows.h>

#include "skin/core/skin_family.h"
#include "skin/graphics/sprite_sheet.h"

namespace skin {

LRESULT CALLBACK SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// True when SkinWindowProc is the window's procedure now, in either character set.
bool RunsSkinWindowProc(HWND window);

// What the window procedure asks of the engine above it as messages announce windows that come
// and go: a window destroyed or one the skin cannot draw any more, a dialog that activates or
// idles, a list that asks for colours, a new DPI, windows created later. The engine names them as
// it installs the procedure, so that the procedure needs to know nothing of the engine; they are
// kept per thread, as the engine keeps its state.
struct EngineCalls {
  int (*attach)(HWND window);             // SkinAttachWindow
  int (*detach)(HWND window);             // SkinDetachWindow
  void (*keepDpi)(HWND window, int dpi);  // SkinKeepDpi
  // After every message: attaches the windows that appeared inside skinned windows meanwhile.
  void (*attachLateWindows)();
  // The window of a link (SkinHold::kLink) has had its last message: the engine stops watching
  // for windows where it holds none any more.
  void (*linkEnded)();
};

// Makes SkinWindowProc the window's procedure, in the window's own character set; the procedure it
// passes messages on to is the store's (SkinRecord). The procedure calls the engine through
// `calls` on the calling thread from then on.
void InstallSkinWindowProc(HWND window, bool unicode, const EngineCalls& calls);

// Ends the skin's part in the window's chain as a detach ends: gives the window its previous
// procedure back where the skin's is on top, else leaves the skin's as a link (SkinHold::kLink).
void TakeOutSkinWindowProc(HWND window, bool unicode);

// The sprites the family's painters draw from (its row's).
Sprites SpritesOfFamily(SkinFamily family);

// The state of the window's family (its row's attach and detach), put on as the engine attaches
// the window and taken off as it detaches it. False, with nothing put on, where a GDI object of
// that state cannot be made.
bool AttachFamilyState(HWND window, SkinFamily family);
void DetachFamilyState(HWND window, SkinFamily family);

// EnumChildWindows callback run after every left-button release: repaints a skinned check box
// or option button in the normal state, forced, so a changed check mark shows. Always TRUE.
BOOL CALLBACK RefreshCheckAndOptionBoxes(HWND child, LPARAM unused);

}  // namespace skin
