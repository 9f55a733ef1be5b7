#pragma once

// Message boxes as a test sees them: read from any process (the caption, the text and the icon
// of the platform's box), and, in-process, watched while a call shows them: a thread timer finds
// each box over its owner while the box runs its own message loop, and presses the button a test
// names.

#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// What a test saw of a message box.
struct MessageBoxSeen {
  HWND window = nullptr;  // null when no box came
  std::wstring title;
  std::wstring text;
  HICON icon = nullptr;  // what its icon control shows
  // How the skin found the box, noted by WatchMessageBoxAndAnswerNo while it was open.
  bool open = false;       // the box came up
  bool skinned = false;    // the box carried the skin
  int skinnedButtons = 0;  // its push buttons with the skin and their state surfaces
  int skinnedWindows = 0;  // SkinnedWindowCount() while it was open
  int dpi = 0;             // the DPI the skin drew the box at
};

// Whether the window is a platform message box: a dialog with the box's text control.
bool IsMessageBox(HWND window);

// The box's caption, text and icon as they stand now.
MessageBoxSeen ReadMessageBox(HWND box);

// Runs `call`, which shows modal message boxes owned by `owner` on this thread. Each box, once
// visible, goes to `answer`, which returns the button to press (IDOK, IDYES, ...).
void AnswerMessageBoxes(HWND owner, const std::function<void()>& call,
                        const std::function<int(HWND box)>& answer);

// The last box `call` showed over `owner`, read and answered OK; its window is null when none
// came.
MessageBoxSeen ReadMessageBoxOf(HWND owner, const std::function<void()>& call);

// Runs showBox, which shows a modal Yes/No message box owned by `owner`, and tells what the timer
// saw of the box before it answered No.
MessageBoxSeen WatchMessageBoxAndAnswerNo(HWND owner, const std::function<void()>& showBox);

}  // namespace testing_support
