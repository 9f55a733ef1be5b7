#pragma once

// The main window's two repair commands tell how the setting is now: in a tooltip while the
// pointer is over one of them, and in their accessible description. Both are asked for at the
// moment they are read, so that a change made elsewhere (by the browser's own option, a script,
// another copy of the program) shows without a restart.

#include <windows.h>

#include <string>

#include "accessible/accessible_annotation.h"

namespace app::form1 {

// True when `window` is one of the repair commands in the main window's frame `frame`.
bool IsStatusCommand(HWND frame, HWND window);

// The accessible description of a push button in the main window `form`: the setting now for its
// repair commands, nothing for any other button (or where `form` is null).
std::wstring DescribeStatusCommand(HWND form, HWND button);

// Under a high-contrast scheme the skin stands aside and the platform's object answers a reader
// for the repair commands, without their description: it gets it through annotation, from
// `describe`, read when the reader reads it. With the skin back its own object answers, and the
// annotation goes (`describe` null).
void AnnotateStatusCommands(HWND form, accessible::DescriptionSource describe);

// The tooltip of the repair commands, made when the pointer first comes onto one of them, so that
// comctl32 is not loaded before the window's first paint. From then on it hears of every mouse
// message over the window: over a repair command it shows, elsewhere it hides. The window owns
// the tooltip's window, which goes with it.
class StatusTooltip {
 public:
  // A mouse message the pointer sent to `under`, as WM_SETCURSOR tells it; `font` and `dpi` are
  // the window's, for a tooltip made now.
  void Feed(HWND form, HWND under, UINT mouseMessage, HFONT font, int dpi);

  // The window's font and DPI changed; nothing before the tooltip is made. The caller keeps the
  // font alive for as long as the tooltip uses it.
  void SetDpi(HFONT font, int dpi) const;

  // WM_NOTIFY: where it is the tooltip's request for the text of a tool about to show, answers it
  // with how the setting is at this moment and returns true; false for any other notification.
  bool AnswerTextRequest(HWND form, LPARAM lParam);

 private:
  HWND tooltip_ = nullptr;  // made at the first hover
  std::wstring text_;       // what the tooltip shows now
};

}  // namespace app::form1
