#pragma once

// Putting the skin on a window and taking it off again, and the engine's module state.
// Attach and detach return 1 when they acted and 0 when they did nothing.
//
// The engine is the skin's top layer: graphics <- core (store, kinds, state) <- painters <-
// messages <- these entry points. A window's own state comes from its family's row of the
// table in skin/messages; the engine adds the window procedure, the count and the tree walk.

#include <windows.h>

#include "skin/messages/button_accessible.h"

namespace skin {

// Entry point of the skin: attaches the window (for a form: every descendant first, then the
// form). Returns SkinAttachWindow's result; 0, attaching nothing, while the system runs a
// high-contrast scheme (high_contrast.h).
int SkinInstall(HWND window);

// Takes the skin off the window (and, for a form, off every descendant first, with the
// drop-down lists of its combo boxes).
int SkinRemove(HWND window);

// For WM_SETTINGCHANGE and WM_SYSCOLORCHANGE of a form the skin was installed on. With high
// contrast on (HighContrastOn, high_contrast.h), takes the skin off every skinned top-level window
// of the calling thread (the form and any box it has open) and everything inside them; with it
// off, installs the skin on the form again. Returns 1 when it acted, 0 when the windows already
// looked as they should.
int SkinFollowHighContrast(HWND form);

// Attaches one window: its DPI (the platform's, or that of the skinned window it lies in), a use
// of the sprite sheet of that DPI's factor (built on first need), per-kind state, the skin's
// window procedure, a repaint. Does nothing for a null window, one the skin holds already (it
// only puts back a marker taken off and, for a form, attaches windows new inside it), one of
// another thread, or a window of the button class that is not a push button (those keep their
// own drawing and behaviour).
int SkinAttachWindow(HWND window);

// Detaches one window (a combo box with its drop-down list) and frees everything attach made for
// it; its use of a sprite sheet goes, and the last use of a sheet releases it. The detach that
// brings the count of skinned windows to 0 stops the watch for windows created later
// (skin/engine/late_windows.h), unless the store still holds links, whose end the watch sees.
// Does nothing for a null window, one the skin does not hold skinned, or one of another thread.
int SkinDetachWindow(HWND window);

// The window is about to be destroyed (the engine's creation hook sees it go): the skin comes off
// it and everything inside it, and the store ends their entries, also where another subclass
// keeps WM_DESTROY or WM_NCDESTROY from the skin's procedure.
void SkinForgetDestroyedWindow(HWND window);

// Keeps `dpi` as the DPI of the skinned window and of every skinned window inside it, each moving
// to the sprite sheet of its new factor. The caller renders and repaints what changes.
void SkinKeepDpi(HWND window, int dpi);

// EnumChildWindows callbacks: attach or detach one descendant; always continue.
BOOL CALLBACK AttachChildCallback(HWND window, LPARAM unused);
BOOL CALLBACK DetachChildCallback(HWND window, LPARAM unused);

// Names where the description of every skinned push button comes from (SetButtonDescriptionSource
// of skin/messages/button_accessible.h); null takes every description away.
void SkinSetButtonDescriptionSource(ButtonDescriptionSource source);

// True when the named library exports the named function. A library that is not loaded yet is
// loaded for the look-up, from the system directory only, and released again.
bool ProbeExport(const char* functionName, const char* libraryName);

// The number of windows of the calling thread that carry the skin (each user-interface thread
// has an engine of its own). (Whether the sprite sheet is built, the sheet knows
// itself, and whether user32 tracks the pointer, the pointer tracking: skin/messages.)
int SkinnedWindowCount();

}  // namespace skin
