// Seeded message storms over the skinned windows of the main window: no crash, and the skin's
// invariants hold after every step. The seed is printed; MORVANE_STORM_SEED replays a storm.

#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "app/windows/main_window.h"
#include "skin/engine/skin_engine.h"
#include "tests/skin/reliability/message_storm.h"
#include "tests/skin/reliability/skin_invariants.h"
#include "tests/support/form1_access.h"
#include "tests/support/message_pump.h"

namespace reliability {
namespace {

// The forum link of the main window (client coordinates): a press and release on it would
// start the web browser, which is a command of the program, not a message the skin must bear.
constexpr RECT kForumLinkBox = {96, 128, 96 + 185, 128 + 16};

bool OnForumLink(LPARAM lParam) {
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  return PtInRect(&kForumLinkBox, point) != FALSE;
}

// While it lives, the main window's commands carry identifiers that no command handler knows,
// so a press and release that the storm happens to complete clicks nothing.
class InertCommands {
 public:
  explicit InertCommands(const testing_support::Form1Windows& windows) {
    int id = kFirstInertId;
    for (HWND command : windows.commands()) {
      saved_.push_back({command, SetWindowLongPtrW(command, GWLP_ID, id++)});
    }
  }
  ~InertCommands() {
    for (const auto& [command, id] : saved_) {
      if (IsWindow(command)) SetWindowLongPtrW(command, GWLP_ID, id);
    }
  }

 private:
  static constexpr int kFirstInertId = 0x7000;
  std::vector<std::pair<HWND, LONG_PTR>> saved_;
};

// One storm over a freshly loaded main window; the window is unloaded afterwards.
StormResult StormOverForm1(uint32_t seed, const StormLimits& limits) {
  testing_support::LoadedForm1 form1;
  HWND form = form1.windows().form;
  if (form == nullptr) return {0, "the main window did not load", ""};
  InertCommands inert(form1.windows());
  MessageStorm storm(
      seed, form, [form] { return WindowTree(form); },
      [form](HWND window, UINT message, LPARAM lParam) {
        const bool button =
            message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_LBUTTONDBLCLK;
        return !(window == form && button && OnForumLink(lParam));
      });
  StormResult result = storm.Run(limits);
  ReleaseCapture();
  testing_support::PumpMessages();
  if (result.faults.empty()) result.faults = ThreadInvariantFaults();
  return result;
}

TEST(MessageStorm, MainWindowKeepsTheSkinsInvariantsThroughAHostileStorm) {
  RunStormTwice("Form1", "form1_storm_seed", StormOverForm1);
}

}  // namespace
}  // namespace reliability
