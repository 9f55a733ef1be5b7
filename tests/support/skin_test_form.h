#pragma once

// A form laid out like the main window, built in the test process: a dialog-class top-level
// window, a frame of a plain window class, and four system push buttons inside the frame with
// the main window's captions and positions. Destroyed with the object. Beside it, what drives its
// buttons by hand: queued ticks dropped, the pointer placed, the fade ticked to its end.

#include <windows.h>

#include <array>

#include "win/unique_handle.h"

namespace testing_support {

class SkinTestForm {
 public:
  // Shown (and so active) at a fixed place on the screen unless `show` is false.
  explicit SkinTestForm(bool show = true);
  SkinTestForm(const SkinTestForm&) = delete;
  SkinTestForm& operator=(const SkinTestForm&) = delete;
  ~SkinTestForm();

  HWND form() const { return form_; }
  HWND frame() const { return frame_; }
  // In creation order: Command4, Command1, Command3, Command2.
  const std::array<HWND, 4>& buttons() const { return buttons_; }
  // Command2, 257 x 25.
  HWND wideButton() const { return buttons_[3]; }
  // Command4, 129 x 25.
  HWND narrowButton() const { return buttons_[0]; }

  // Destroys the form now (the destructor then does nothing).
  void Destroy();

 private:
  HWND form_ = nullptr;
  HWND frame_ = nullptr;
  std::array<HWND, 4> buttons_{};
  win::Font font_;
};

// The class name of the frame of SkinTestForm (a plain window class, SkinKind::Other).
extern const wchar_t kTestFrameClass[];

// Removes the queued timer ticks and mouse-leave notifications of the window without
// dispatching them, so that only the messages a test sends reach the window.
void DropQueuedMessages(HWND window);

// Puts the pointer over the middle of the window, so later moves find it there.
void PointAtMiddle(HWND window);

// Sends WM_TIMER with `timerId` (0: the fade's own timer identifier) until the button's fade
// stops; the number of ticks it took (at most `limit`).
int TicksUntilFadeEnds(HWND button, int limit = 1000, WPARAM timerId = 0);

}  // namespace testing_support
