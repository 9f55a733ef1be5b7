#pragma once

// The per-family message handlers of the skin's window procedure and the table they fill.
//
// Each control family (push buttons, combo boxes proper, drive lists, check boxes, ...) has one
// constant FamilyHandlers row, defined in its own handlers file with named entries and pointed at
// by the dispatch table of skin_window_proc.cpp. An entry left out falls back to the same entry
// of the common row (kClientEdgeHandlers), and where that has none either, the message goes to
// the window's previous procedure only. A family is added by writing its handlers file and
// pointing its row of the table at it; no other family's handlers change.

#include <windows.h>

#include "skin/core/skin_family.h"
#include "skin/core/skin_props.h"
#include "skin/graphics/sprite_sheet.h"

namespace skin {

// One message as SkinWindowProc received it, with the previous procedure and the window's traits
// read on entry.
struct SkinMessage {
  WNDPROC previous;
  SkinTraits traits;
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  // Where the skin's procedure keeps track: whether the previous procedure has been called for
  // the message, and its answer, so that a message the skin cannot finish gets the previous
  // procedure's handling once, and its answer.
  struct PreviousCall {
    bool called = false;
    LRESULT result = 0;
  };
  PreviousCall* previousCall = nullptr;

  // Calls the previous procedure with the unchanged arguments.
  LRESULT CallPrevious() const;

  // What the previous procedure returned, and whether the window still carries the skin after it.
  struct PreviousResult {
    LRESULT value;
    bool stillSkinned;
  };

  // Calls the previous procedure, then checks again that the window is skinned. That call can
  // run a whole click (a modal message box, a command that takes the skin off or destroys the
  // window); every handler that goes on to write state or draw after it does so only when
  // stillSkinned holds, so nothing is put back on a window the skin has let go of.
  PreviousResult CallPreviousAndRecheck() const;

  // The usual shape of a handler: calls the previous procedure, then runs `then` (which writes
  // state or draws) only while the window still carries the skin; returns what the previous
  // procedure returned.
  template <typename Then>
  LRESULT CallPreviousThen(Then&& then) const {
    const PreviousResult result = CallPreviousAndRecheck();
    if (result.stillSkinned) then();
    return result.value;
  }

  // Takes the skin off the window, then calls the previous procedure: for a message that turns
  // the window into one the skin does not draw.
  LRESULT DetachAndCallPrevious() const;

  // Takes the skin off the window: for a handler that finds it cannot go on drawing it (a GDI
  // object it needs cannot be made), so that the platform draws the window from then on.
  void LetGo() const;
};

using SkinHandler = LRESULT (*)(const SkinMessage& message);

// The handlers of one family. Every handler returns what SkinWindowProc returns.
struct FamilyHandlers {
  // The family's own state, put on as the skin attaches a window and taken off as it detaches
  // it (the window procedure and "PROCADDR" are the engine's). Null: no state of its own. The
  // attach returns false, having put nothing on, where a GDI object of that state cannot be made;
  // the window then stays without the skin.
  bool (*attach)(HWND window) = nullptr;
  void (*detach)(HWND window) = nullptr;

  SkinHandler paint = nullptr;              // WM_PAINT
  SkinHandler ncPaint = nullptr;            // WM_NCPAINT
  SkinHandler size = nullptr;               // WM_SIZE
  SkinHandler setFocus = nullptr;           // WM_SETFOCUS
  SkinHandler killFocus = nullptr;          // WM_KILLFOCUS
  SkinHandler enable = nullptr;             // WM_ENABLE
  SkinHandler windowPosChanging = nullptr;  // WM_WINDOWPOSCHANGING
  SkinHandler keyDown = nullptr;            // WM_KEYDOWN
  SkinHandler keyUp = nullptr;              // WM_KEYUP
  SkinHandler timer = nullptr;              // WM_TIMER
  SkinHandler mouseMove = nullptr;          // WM_MOUSEMOVE
  SkinHandler lButtonDown = nullptr;        // WM_LBUTTONDOWN
  SkinHandler lButtonUp = nullptr;          // WM_LBUTTONUP (the check/option refresh follows it)
  SkinHandler lButtonDblClk = nullptr;      // WM_LBUTTONDBLCLK
  SkinHandler mouseLeave = nullptr;         // WM_MOUSELEAVE
  SkinHandler getDlgCode = nullptr;         // WM_GETDLGCODE
  SkinHandler setStyle = nullptr;           // BM_SETSTYLE
  SkinHandler getObject = nullptr;          // WM_GETOBJECT
  SkinHandler updateUiState = nullptr;      // WM_UPDATEUISTATE
  // Repaints the control in the normal state with the force flag set; run by
  // RefreshCheckAndOptionBoxes after every left-button release. Null: nothing to refresh.
  void (*refreshAfterClick)(HWND window) = nullptr;
  // Renders again what the window keeps pre-rendered, where it no longer matches the window's
  // scale; run for a window and everything in it after their DPI has changed, once the window
  // has laid itself out again. Null: the family paints everything as it goes.
  void (*rescale)(HWND window) = nullptr;
  // The sprites the family's painters draw from: the engine has them built before it attaches a
  // window of the family, and at every DPI the window moves to. None: the family draws without.
  Sprites sprites = Sprites::None;
};

// The paint of a window the skin draws alone, between BeginPaint and EndPaint. Where `paint`
// cannot draw it (it returns false, having drawn nothing, when a GDI object it needs cannot be
// made) the window's previous procedure paints it instead, as it would without the skin.
LRESULT PaintInsteadOfPrevious(const SkinMessage& message, bool (*paint)(HWND window, HDC dc));

// A handler that only calls the previous procedure; use it where a family must not fall back to
// the handler that kCommonHandlers gives every family.
LRESULT CallPreviousOnly(const SkinMessage& message);

// The rows, one per family, named after the handlers file that defines them.
extern const FamilyHandlers kNoHandlers;          // every entry null
extern const FamilyHandlers kButtonHandlers;      // button_handlers.cpp
extern const FamilyHandlers kComboBoxHandlers;    // combo_handlers.cpp
extern const FamilyHandlers kDriveListHandlers;   // combo_handlers.cpp
extern const FamilyHandlers kCheckHandlers;       // check_option_handlers.cpp
extern const FamilyHandlers kOptionHandlers;      // check_option_handlers.cpp
extern const FamilyHandlers kHeaderHandlers;      // header_handlers.cpp
extern const FamilyHandlers kProgressHandlers;    // progress_frame_handlers.cpp
extern const FamilyHandlers kDataListHandlers;    // progress_frame_handlers.cpp
extern const FamilyHandlers kComboListHandlers;   // progress_frame_handlers.cpp
extern const FamilyHandlers kGridHandlers;        // progress_frame_handlers.cpp
extern const FamilyHandlers kClientEdgeHandlers;  // progress_frame_handlers.cpp

}  // namespace skin
