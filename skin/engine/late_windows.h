#pragma once

// Windows that appear inside a skinned window after it was attached: the pages of a property
// sheet and their controls (the sheet is attached as it activates, its pages are created then or
// only when first shown), or a control created at run time on a skinned form.
//
// While the engine has skinned windows, a creation hook of the thread that attached the first of
// them notes every child window created inside a skinned window, or inside a window noted before
// it. A noted window is attached once it is visible: a window turns visible only when its
// creation is complete (a dialog after WM_INITDIALOG has set its captions and moved its
// controls), so the skin renders it as it will stay. Noted windows are looked at after every
// message of a skinned window and at every further event of the hook; a window that is already
// skinned is left as it is, and windows of other threads are never noted. The same hook tells the
// engine of every window that is about to be destroyed (SkinForgetDestroyedWindow), and so runs
// as long as the store holds any window, a link included. Each thread that skins windows has a
// watch of its own. The engine names what the watch calls on it as it starts the watch, so that
// the watch needs to know nothing of the engine.

#include <windows.h>

namespace skin {

// What the watch asks of the engine: to attach a noted window (SkinAttachWindow), and to take the
// skin off a window that is about to be destroyed and end its entry (SkinForgetDestroyedWindow).
struct LateWindowCalls {
  int (*attach)(HWND window);
  void (*forgetDestroyed)(HWND window);
};

// Starts noting the creations of the calling thread (the engine attached its first window); the
// watch calls the engine through `engine` from then on.
void StartWatchingForLateWindows(const LateWindowCalls& engine);

// Stops noting and forgets every noted window (the engine holds no window any more).
void StopWatchingForLateWindows();

// Attaches every noted window that is visible now and whose parent carries the skin, and forgets
// it; a noted window that is gone, or visible under a parent without the skin, is forgotten too;
// one still hidden stays noted. Does nothing while a LateWindowsHold lives.
void AttachLateWindows();

// While one lives, AttachLateWindows does nothing: taking the skin off a form must not put it
// back on a window inside the form halfway through.
class LateWindowsHold {
 public:
  LateWindowsHold();
  ~LateWindowsHold();
  LateWindowsHold(const LateWindowsHold&) = delete;
  LateWindowsHold& operator=(const LateWindowsHold&) = delete;
};

}  // namespace skin
