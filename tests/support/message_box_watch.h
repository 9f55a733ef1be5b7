#pragma once

// Looks at a message box while it is open: a thread timer waits for the box to come up over its
// owner, notes how the skin found it, and answers it No.

#include <windows.h>

#include <functional>

namespace testing_support {

struct MessageBoxSeen {
  bool open = false;       // the box came up
  bool skinned = false;    // the box carried the skin
  int skinnedButtons = 0;  // its push buttons with the skin and their state surfaces
  int skinnedWindows = 0;  // SkinnedWindowCount() while it was open
  int dpi = 0;             // the DPI the skin drew the box at
};

// Runs showBox, which shows a modal Yes/No message box owned by `owner`, and tells what the timer
// saw of the box before it answered No.
MessageBoxSeen WatchMessageBoxAndAnswerNo(HWND owner, const std::function<void()>& showBox);

}  // namespace testing_support
