// The skin in a process that has run out of GDI objects. Wine's handle table has 65,536 entries
// for the whole process, and filling the free ones with one-pixel regions takes a few
// milliseconds. A window whose sprite sheet or state surfaces cannot be made stays native; a
// button that cannot get images of its new size, or a form the sheet of its new DPI, lets go of
// the skin; a paint the skin cannot make is left to the window's own procedure. Nothing leaks,
// the count stays true, and once objects are free again the skin is put on whole.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "skin/core/skin_props.h"
#include "skin/engine/skin_engine.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/messages/skin_window_proc.h"
#include "tests/skin/reliability/skin_invariants.h"
#include "tests/support/control_gallery.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/message_pump.h"
#include "tests/support/message_recorder.h"
#include "tests/support/skin_test_form.h"
#include "tests/support/skin_test_pixels.h"
#include "win/unique_handle.h"

namespace reliability {
namespace {

constexpr int kSkinnedWindows = 7;  // form, frame, four buttons, progress bar
constexpr int kMostStepsToSkinEverything = 400;

// Takes every free entry of the process's GDI handle table, and gives them back one at a time or
// all at once as it ends.
class GdiTableFiller {
 public:
  GdiTableFiller() {
    while (HRGN region = CreateRectRgn(0, 0, 1, 1)) regions_.emplace_back(region);
  }
  void GiveBackOne() { regions_.pop_back(); }
  bool HoldsAny() const { return !regions_.empty(); }

 private:
  std::vector<win::Region> regions_;
};

// The invariants (a skinned push button has its four state surfaces), and each skinned window
// draws from sprites that are built: every sprite its family draws from.
std::string HalfSkinnedWindows(HWND form) {
  std::string faults = ThreadInvariantFaults();
  for (HWND window : WindowTree(form)) {
    if (!skin::IsSkinned(window)) continue;
    const skin::SpriteSheet& sheet =
        skin::SpriteSheetAt(skin::SpriteFactorForDpi(skin::GetSkinDpi(window)));
    const skin::Sprites sprites = skin::SpritesOfFamily(skin::GetSkinTraits(window).family);
    const std::pair<skin::Sprites, HDC> built[] = {
        {skin::Sprites::Button, sheet.button}, {skin::Sprites::Combo, sheet.combo},
        {skin::Sprites::Glyph, sheet.glyph},   {skin::Sprites::Option, sheet.option},
        {skin::Sprites::Header, sheet.header}};
    for (const auto& [sprite, surface] : built) {
      if (skin::Includes(sprites, sprite) && surface == nullptr) {
        faults += "a window drawn from a sprite that is not built\n";
      }
    }
  }
  return faults;
}

TEST(GdiExhaustion, EveryWindowIsSkinnedWholeOrLeftToThePlatform) {
  ASSERT_TRUE(testing_support::GdiAccountingAvailable());
  testing_support::RegisterGalleryClasses();
  testing_support::SkinTestForm form;
  HWND progress =
      CreateWindowExW(0, testing_support::kGalleryProgressClass, L"", WS_CHILD | WS_VISIBLE, 8, 124,
                      100, 12, form.form(), nullptr, nullptr, nullptr);
  testing_support::MessageRecorder recorder;
  recorder.Watch(progress);
  ASSERT_EQ(skin::SkinInstall(form.form()), 1);  // the system caches what it makes on first use
  skin::SkinRemove(form.form());
  testing_support::PumpMessages();
  const testing_support::GdiCounts before = testing_support::CountGdiObjects();
  {
    GdiTableFiller filler;
    ASSERT_TRUE(filler.HoldsAny());
    EXPECT_EQ(skin::SkinInstall(form.form()), 0);
    EXPECT_EQ(HalfSkinnedWindows(form.form()), "") << "with no object free";
    // One more object free at each step, until the whole form takes the skin.
    int step = 0;
    for (; step < kMostStepsToSkinEverything && filler.HoldsAny(); ++step) {
      filler.GiveBackOne();
      skin::SkinInstall(form.form());
      EXPECT_EQ(HalfSkinnedWindows(form.form()), "") << "with " << step + 1 << " objects free";
      if (skin::SkinnedWindowCount() == kSkinnedWindows) break;
      skin::SkinRemove(form.form());
      ASSERT_EQ(skin::SkinnedWindowCount(), 0) << "with " << step + 1 << " objects free";
    }
    ASSERT_EQ(skin::SkinnedWindowCount(), kSkinnedWindows) << "after " << step << " steps";

    GdiTableFiller rest;
    recorder.Clear();
    RedrawWindow(progress, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(recorder.Saw(progress, WM_PAINT)) << "the bar's own procedure paints it";
    SetWindowPos(form.wideButton(), nullptr, 0, 0, 250, 30, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(skin::IsSkinned(form.wideButton())) << "a button of the old size is shown";
    EXPECT_EQ(HalfSkinnedWindows(form.form()), "") << "after a resize";
    // The objects the button gave back would make the sprites of the new DPI: take them too.
    GdiTableFiller freedByTheButton;
    RECT place{};
    GetWindowRect(form.form(), &place);
    SendMessageW(form.form(), WM_DPICHANGED, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&place));
    EXPECT_EQ(skin::SkinnedWindowCount(), 0) << "the form kept the skin at 192 DPI";
    EXPECT_EQ(HalfSkinnedWindows(form.form()), "") << "after a DPI change";
  }
  testing_support::PumpMessages();
  EXPECT_EQ(testing_support::CountGdiObjects(), before);

  EXPECT_EQ(skin::SkinInstall(form.form()), 1);
  for (HWND window : WindowTree(form.form())) EXPECT_TRUE(skin::IsSkinned(window)) << window;
  EXPECT_EQ(HalfSkinnedWindows(form.form()), "") << "once objects are free again";
  RedrawWindow(form.form(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_EQ(testing_support::CountDifferencesInRegion(
                form.wideButton(), testing_support::StatePixels(form.wideButton(), 0)),
            0);
  skin::SkinRemove(form.form());
  testing_support::PumpMessages();
  EXPECT_EQ(testing_support::CountGdiObjects(), before);
}

}  // namespace
}  // namespace reliability
