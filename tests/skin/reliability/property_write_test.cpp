// A window that cannot take the skin's marker: a property write fails when the desktop heap or
// the atom table runs out, the same starvation the skin survives for GDI objects. The attach then
// stops with nothing of the skin on the window: its own procedure (or the link's) keeps every
// message, no GDI object is left behind, and once writes succeed again the skin goes on whole,
// never taking its own procedure for the window's previous one.

#include <windows.h>

#include <gtest/gtest.h>

#include "skin/core/skin_props.h"
#include "skin/engine/skin_engine.h"
#include "skin/graphics/sprite_sheet.h"
#include "tests/skin/reliability/foreign_subclass.h"
#include "tests/skin/reliability/skin_invariants.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/skin_test_form.h"

namespace reliability {
namespace {

// The window whose "PROCADDR" cannot be written; every other write goes through.
HWND refusingWindow = nullptr;

BOOL WINAPI RefuseMarker(HWND window, LPCSTR key, HANDLE value) {
  if (window == refusingWindow && lstrcmpiA(key, skin::props::kProcAddr) == 0) return FALSE;
  return SetPropA(window, key, value);
}

// The window's own procedure answers: a dialog knows its default button, a push button its
// pushed state (the default procedure would answer 0 to both).
bool OwnProcedureAnswers(HWND window, bool isForm) {
  if (isForm) return HIWORD(SendMessageW(window, DM_GETDEFID, 0, 0)) == DC_HASDEFID;
  SendMessageW(window, BM_SETSTATE, TRUE, 0);
  const bool pushed = (SendMessageW(window, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  SendMessageW(window, BM_SETSTATE, FALSE, 0);
  return pushed;
}

struct RefusedCase {
  const char* name;
  bool form;         // the form refuses the marker, else one of its push buttons
  bool throughLink;  // the button is subclassed from outside and was let go of before
};

TEST(PropertyWrite, AnAttachWhoseMarkerCannotBeWrittenStopsCleanly) {
  ASSERT_TRUE(testing_support::GdiAccountingAvailable());
  const RefusedCase cases[] = {
      {"the form", true, false},
      {"a push button", false, false},
      {"a push button through a link", false, true},
  };
  {  // the first skinned form of the process makes what stays for its life (fonts, atoms)
    testing_support::SkinTestForm warmUp;
    skin::SkinInstall(warmUp.form());
    skin::SkinRemove(warmUp.form());
  }
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.name);
    foreign.clear();
    const testing_support::GdiCounts before = testing_support::CountGdiObjects();
    {
      testing_support::SkinTestForm form;
      SendMessageW(form.form(), DM_SETDEFID, GetDlgCtrlID(form.wideButton()), 0);
      HWND window = c.form ? form.form() : form.wideButton();
      const LONG_PTR ownProcedure = GetWindowLongPtrW(window, GWLP_WNDPROC);
      if (c.throughLink) {
        ASSERT_EQ(skin::SkinInstall(form.form()), 1);
        SubclassFromOutside(window);
        ASSERT_EQ(skin::SkinRemove(form.form()), 1);
      }
      const LONG_PTR procedureBefore = GetWindowLongPtrW(window, GWLP_WNDPROC);

      refusingWindow = window;
      skin::SetPropertyWriterForTesting(RefuseMarker);
      const int installed = skin::SkinInstall(form.form());
      skin::SetPropertyWriterForTesting(nullptr);
      EXPECT_EQ(installed, c.form ? 0 : 1);
      EXPECT_EQ(skin::SkinHoldOf(window),
                c.throughLink ? skin::SkinHold::kLink : skin::SkinHold::kNone);
      EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), procedureBefore)
          << "the window's procedure was changed";
      EXPECT_TRUE(OwnProcedureAnswers(window, c.form)) << "the window's own procedure was cut off";
      EXPECT_EQ(ThreadInvariantFaults(), "");

      // Writes succeed again: the next install puts the skin on whole (the form's descendants
      // kept it), and the removal leaves each window its own procedure.
      skin::SkinInstall(form.form());
      EXPECT_EQ(skin::SkinnedWindowCount(), kSkinnedWindowsOfTestForm);
      EXPECT_TRUE(OwnProcedureAnswers(window, c.form));
      EXPECT_FALSE(foreign[window].recursed) << "the skin's procedure became its own previous one";
      EXPECT_EQ(skin::SkinHoldOf(window), skin::SkinHold::kSkinned);
      // (The invariants take the procedure on top for the skin's: not so under another's.)
      if (!c.throughLink) {
        EXPECT_EQ(ThreadInvariantFaults(), "");
      }
      ASSERT_EQ(skin::SkinRemove(form.form()), 1);
      if (!c.throughLink) {
        EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), ownProcedure);
      }
    }
    EXPECT_FALSE(skin::SpriteSheetBuilt()) << "a use of the sprite sheet was left behind";
    EXPECT_EQ(testing_support::CountGdiObjects(), before);
  }
}

}  // namespace
}  // namespace reliability
