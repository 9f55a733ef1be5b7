#pragma once

// The per-family message handlers of the skin's window procedure and the table they fill.
//
// Each control family (push buttons, combo boxes proper, drive lists, check boxes, ...) has one
// constant FamilyHandlers row, defined in its own handlers file and named in the dispatch table
// of skin_window_proc.cpp. A null entry means "the window's previous procedure only". A family
// is added by writing its handlers file and pointing its row of the table at it; no other
// family's handlers change.

#include <windows.h>

#include "skin/core/skin_kind.h"

namespace skin {

// One message as SkinWindowProc received it, with the previous procedure read on entry.
struct SkinMessage {
  WNDPROC previous;
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;

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
};

using SkinHandler = LRESULT (*)(const SkinMessage& message);

// The handlers of one family. Every handler returns what SkinWindowProc returns.
struct FamilyHandlers {
  SkinHandler paint;              // WM_PAINT
  SkinHandler ncPaint;            // WM_NCPAINT
  SkinHandler size;               // WM_SIZE
  SkinHandler setFocus;           // WM_SETFOCUS
  SkinHandler killFocus;          // WM_KILLFOCUS
  SkinHandler enable;             // WM_ENABLE
  SkinHandler windowPosChanging;  // WM_WINDOWPOSCHANGING
  SkinHandler keyDown;            // WM_KEYDOWN
  SkinHandler keyUp;              // WM_KEYUP
  SkinHandler timer;              // WM_TIMER
  SkinHandler mouseMove;          // WM_MOUSEMOVE
  SkinHandler lButtonDown;        // WM_LBUTTONDOWN
  SkinHandler lButtonUp;          // WM_LBUTTONUP (the check/option refresh follows it)
  SkinHandler lButtonDblClk;      // WM_LBUTTONDBLCLK
  SkinHandler mouseLeave;         // WM_MOUSELEAVE
  SkinHandler getDlgCode;         // WM_GETDLGCODE
  SkinHandler setStyle;           // BM_SETSTYLE
  // Repaints the control in the normal state with the force flag set; run by
  // RefreshCheckAndOptionBoxes after every left-button release. Null: nothing to refresh.
  void (*refreshAfterClick)(HWND window);
};

// The families the dispatch tells apart: the kinds, with SkinKind::Combo split into combo boxes
// proper and drive lists.
enum class HandlerFamily {
  Form,
  Button,
  ComboBox,
  DriveList,
  Check,
  Option,
  Progress,
  Header,
  DataList,
  ComboList,
  Grid,
  Other,
};

HandlerFamily GetHandlerFamily(HWND window);

// A handler that only calls the previous procedure; use it where a family must not fall back to
// the handler that kCommonHandlers gives every family.
LRESULT CallPreviousOnly(const SkinMessage& message);

// The rows, one per handlers file.
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
