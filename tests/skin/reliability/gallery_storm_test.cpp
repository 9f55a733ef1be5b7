// Seeded message storms over the skinned control gallery, which holds a window of every kind the
// skin handles: check boxes, option buttons, combo boxes and their drop-down lists, a drive
// list, a header, progress bars and framed lists. MORVANE_STORM_SEED replays a storm.

#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_kind.h"
#include "tests/skin/reliability/message_storm.h"
#include "tests/skin/reliability/skin_invariants.h"
#include "tests/skin/skin_test_windows.h"
#include "tests/support/control_gallery.h"

namespace reliability {
namespace {

// The gallery's windows and the drop-down lists of its combo boxes, which live outside the form
// as pop-up windows.
std::vector<HWND> GalleryTargets(HWND form) {
  std::vector<HWND> targets = WindowTree(form);
  const size_t formWindows = targets.size();
  for (size_t i = 0; i < formWindows; ++i) {
    if (skin::GetSkinKind(targets[i]) != skin::SkinKind::Combo) continue;
    if (HWND list = skin_tests::ComboListOf(targets[i])) targets.push_back(list);
  }
  return targets;
}

void CloseDropDownLists(HWND form) {
  for (HWND window : WindowTree(form)) {
    if (skin::GetSkinKind(window) == skin::SkinKind::Combo) {
      SendMessageW(window, CB_SHOWDROPDOWN, FALSE, 0);
    }
  }
}

// The platform's own button procedure, finishing a click (button release or space bar release)
// on an automatic option button, walks the button's group from the button itself until it comes
// back to it; the walk skips disabled and hidden buttons, so from a disabled or hidden one it
// never ends. No user input reaches such a button, and the skin is not in that walk.
bool ClickCompletionSpins(HWND window, UINT message) {
  if (message != WM_LBUTTONUP && message != WM_KEYUP) return false;
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  return skin::GetSkinKind(window) == skin::SkinKind::Option &&
         (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
         (style & (WS_VISIBLE | WS_DISABLED)) != WS_VISIBLE;
}

StormResult StormOverGallery(uint32_t seed, const StormLimits& limits) {
  testing_support::ControlGallery gallery;
  HWND form = gallery.form;
  skin::SkinInstall(form);
  testing_support::PumpMessages();
  MessageStorm storm(
      seed, form, [form] { return GalleryTargets(form); },
      [](HWND window, UINT message, LPARAM) { return !ClickCompletionSpins(window, message); });
  StormResult result = storm.Run(limits);
  CloseDropDownLists(form);
  ReleaseCapture();
  testing_support::PumpMessages();
  if (result.faults.empty()) result.faults = ThreadInvariantFaults();
  skin::SkinRemove(form);
  return result;
}

TEST(MessageStorm, ControlGalleryKeepsTheSkinsInvariantsThroughAHostileStorm) {
  RunStormTwice("the gallery", "gallery_storm_seed", StormOverGallery);
}

}  // namespace
}  // namespace reliability
