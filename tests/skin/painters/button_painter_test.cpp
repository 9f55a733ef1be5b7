#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/graphics/blit.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/graphics/surface.h"
#include "skin/painters/button_painter.h"
#include "tests/support/pictures.h"
#include "tests/support/skin_test_form.h"
#include "tests/support/skin_test_pixels.h"
#include "tests/support/window_pixels.h"

namespace skin {
namespace {

using testing_support::CountDifferencesInRegion;
using testing_support::ReadSurfacePixels;
using testing_support::ReadWindowPixels;
using testing_support::StatePixels;
using testing_support::WindowSize;

void PaintNow(HWND button) {
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

class ButtonPainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFocus(form_.form());  // no button holds the focus: no focus rectangle in the faces
    ASSERT_EQ(SkinInstall(form_.form()), 1);
    button_ = form_.wideButton();
  }
  void TearDown() override {
    SkinRemove(form_.form());
    EXPECT_EQ(SkinnedWindowCount(), 0);
  }
  testing_support::SkinTestForm form_;
  HWND button_ = nullptr;
};

// Each state surface is the nine-grid of its ButtonSprite cell with the caption drawn over it in
// the state's colour; only the caption's pixels differ from the bare face.
TEST_F(ButtonPainterTest, StateSurfacesAreTheSpriteFaceWithTheCaption) {
  const SIZE size = WindowSize(button_);
  ASSERT_EQ(size.cx, 257);
  ASSERT_EQ(size.cy, 25);
  for (int state = 0; state < kSkinStateCount; ++state) {
    SCOPED_TRACE(testing::Message() << "state " << state);
    Surface face(size.cx, size.cy);
    BlitNineGrid(face.get(), 0, 0, size.cx, size.cy, ButtonSprite(), ButtonCell(state),
                 kButtonMargins);
    const std::vector<COLORREF> bare = ReadSurfacePixels(face.get(), size.cx, size.cy);
    const std::vector<COLORREF> drawn = StatePixels(button_, state);
    ASSERT_EQ(drawn.size(), bare.size());

    const COLORREF caption = state == 3 ? 0x968A79 : 0x000000;
    const COLORREF otherCaption = state == 3 ? 0x000000 : 0x968A79;
    int differing = 0, inCaptionColour = 0, inOtherColour = 0, outsideText = 0;
    for (int y = 0; y < size.cy; ++y) {
      for (int x = 0; x < size.cx; ++x) {
        const size_t i = static_cast<size_t>(y * size.cx + x);
        if (drawn[i] == bare[i]) continue;
        ++differing;
        if (drawn[i] == caption) ++inCaptionColour;
        if (drawn[i] == otherCaption) ++inOtherColour;
        // Six short Chinese characters, centred: nothing near the edges changes.
        if (x < 60 || x > 197 || y < 2 || y > 22) ++outsideText;
      }
    }
    EXPECT_GT(differing, 30);
    EXPECT_GT(inCaptionColour, 10);
    EXPECT_EQ(inOtherColour, 0);
    EXPECT_EQ(outsideText, 0);
    testing_support::SavePixels(drawn, size.cx, size.cy,
                                L"button_state_" + std::to_wstring(state) + L".bmp", 3);
  }
}

// Pixels of the focus rectangle's top line (row 2, inside the frame) that differ from the face.
int ChangedOnFocusLine(const std::vector<COLORREF>& drawn, const std::vector<COLORREF>& face,
                       SIZE size) {
  int changed = 0;
  for (int x = 2; x < size.cx - 2; ++x) {
    const size_t i = static_cast<size_t>(2 * size.cx + x);
    if (drawn[i] != face[i]) ++changed;
  }
  return changed;
}

// Changes the UI state of the form and of the button in it: the form is asked, and the button gets
// the WM_UPDATEUISTATE that the platform's DefWindowProc passes on to every child. (Windows does
// that itself; Wine 8 keeps no UI state, answers WM_QUERYUISTATE with 0 and passes nothing on.)
void ChangeUiState(HWND form, HWND button, WORD action) {
  SendMessageW(form, WM_CHANGEUISTATE, MAKEWPARAM(action, UISF_HIDEFOCUS), 0);
  SendMessageW(button, WM_UPDATEUISTATE, MAKEWPARAM(action, UISF_HIDEFOCUS), 0);
}

// The focus rectangle follows the button's UI state, as on the platform's buttons: none while the
// state hides focus cues (the window has been used with the mouse only), drawn at once when the
// keyboard is used (UIS_CLEAR), gone again when the state hides them. Both states are set
// explicitly, whatever state the form starts in.
TEST_F(ButtonPainterTest, FocusRectangleFollowsTheUiState) {
  HWND form = form_.form();
  const SIZE size = WindowSize(button_);
  std::vector<COLORREF> unfocused[kSkinStateCount];
  for (int state = 0; state < kSkinStateCount; ++state)
    unfocused[state] = StatePixels(button_, state);
  const std::vector<COLORREF>& plain = unfocused[0];

  ChangeUiState(form, button_, UIS_SET);
  SetFocus(button_);
  PaintNow(button_);
  EXPECT_EQ(StatePixels(button_, 0), plain) << "focused, cues hidden";
  EXPECT_EQ(CountDifferencesInRegion(button_, plain), 0);
  testing_support::SaveWindowPicture(button_, L"button_focus_cue_hidden.bmp", 3);

  // The keyboard is used: the button shows the rectangle without waiting for a paint.
  ChangeUiState(form, button_, UIS_CLEAR);
  EXPECT_GT(ChangedOnFocusLine(ReadWindowPixels(button_), plain, size), (size.cx - 4) / 3);
  EXPECT_EQ(CountDifferencesInRegion(button_, StatePixels(button_, 0)), 0);
  testing_support::SaveWindowPicture(button_, L"button_focus_cue_shown.bmp", 3);

  // A button that takes the focus while cues are shown draws the rectangle in all four faces.
  SetFocus(form);
  EXPECT_EQ(StatePixels(button_, 0), plain);
  SetFocus(button_);
  for (int state = 0; state < kSkinStateCount; ++state) {
    EXPECT_GT(ChangedOnFocusLine(StatePixels(button_, state), unfocused[state], size),
              (size.cx - 4) / 3)
        << "state " << state;
  }

  // Hidden again while the focus fade runs: the fade (here the paint that ends it) brings the
  // faces without the rectangle. UIS_INITIALIZE takes the platform's choice, here none hidden.
  ChangeUiState(form, button_, UIS_SET);
  EXPECT_EQ(StatePixels(button_, 0), plain) << "hidden again";
  PaintNow(button_);
  EXPECT_EQ(CountDifferencesInRegion(button_, plain), 0);
  SendMessageW(button_, WM_UPDATEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
  EXPECT_EQ(StatePixels(button_, 0) == plain,
            (SendMessageW(button_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0);
  SetFocus(form);
}

TEST_F(ButtonPainterTest, PaintAtFullLevelShowsTheStateSurfaceExactly) {
  for (int state = 0; state < kSkinStateCount; ++state) {
    SetSkinState(button_, static_cast<SkinState>(state));
    PaintNow(button_);  // WM_PAINT: level 255
    EXPECT_EQ(GetSkinProp(button_, props::kAlphaLevel), 255);
    EXPECT_EQ(CountDifferencesInRegion(button_, StatePixels(button_, state)), 0)
        << "state " << state;
  }
  testing_support::SaveWindowPicture(button_, L"button_painted_disabled_face.bmp", 3);
}

TEST_F(ButtonPainterTest, LevelZeroChangesNothingAndMidLevelsBlend) {
  SetSkinState(button_, SkinState::Normal);
  PaintNow(button_);
  const std::vector<COLORREF> normal = ReadWindowPixels(button_);

  SetSkinState(button_, SkinState::Pressed);
  SetSkinProp(button_, props::kAlphaLevel, 0);
  EXPECT_EQ(PaintButton(button_, nullptr), 0);
  EXPECT_EQ(CountDifferencesInRegion(button_, normal), 0);

  // Half way: every channel lies between the normal and the pressed face.
  SetSkinProp(button_, props::kAlphaLevel, 128);
  PaintButton(button_, nullptr);
  const std::vector<COLORREF> half = ReadWindowPixels(button_);
  const std::vector<COLORREF> pressed = StatePixels(button_, 2);
  const SIZE size = WindowSize(button_);
  const size_t centre = static_cast<size_t>((size.cy / 2) * size.cx + 3);
  for (int shift : {0, 8, 16}) {
    const int a = (normal[centre] >> shift) & 0xFF;
    const int b = (pressed[centre] >> shift) & 0xFF;
    const int mixed = (half[centre] >> shift) & 0xFF;
    const int expected = a + (b - a) * 128 / 255;
    EXPECT_NEAR(mixed, expected, 1) << "shift " << shift;
  }
}

TEST_F(ButtonPainterTest, DisabledButtonAlwaysPaintsItsDisabledFace) {
  EnableWindow(button_, FALSE);
  EXPECT_EQ(GetSkinProp(button_, props::kOldState), 3);
  SetSkinState(button_, SkinState::Hot);  // whatever the state held
  PaintNow(button_);
  EXPECT_EQ(GetSkinProp(button_, props::kOldState), 3);
  EXPECT_EQ(CountDifferencesInRegion(button_, StatePixels(button_, 3)), 0);
  EnableWindow(button_, TRUE);
  EXPECT_EQ(GetSkinProp(button_, props::kOldState), 0);
}

TEST_F(ButtonPainterTest, ButtonsKeepingTheirOwnDrawingAreNeverPaintedBySkin) {
  SkinRemove(form_.form());
  HWND check =
      CreateWindowExW(0, L"BUTTON", L"选项", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 8, 124, 120,
                      20, form_.form(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_EQ(SkinInstall(form_.form()), 1);
  PaintNow(check);
  const std::vector<COLORREF> own = ReadWindowPixels(check);
  EXPECT_NE(CountDifferencesInRegion(check, StatePixels(check, 0)), 0);
  SetSkinProp(check, props::kAlphaLevel, 255);
  PaintButton(check, nullptr);
  EXPECT_EQ(CountDifferencesInRegion(check, own), 0);
}

TEST(ButtonBlend, ConstantAlphaOnly) {
  const BLENDFUNCTION blend = ButtonBlend(140);
  EXPECT_EQ(blend.BlendOp, AC_SRC_OVER);
  EXPECT_EQ(blend.BlendFlags, 0);
  EXPECT_EQ(blend.SourceConstantAlpha, 140);
  EXPECT_EQ(blend.AlphaFormat, 0);
  EXPECT_EQ(ButtonBlend(300).SourceConstantAlpha, 255);
  EXPECT_EQ(ButtonBlend(-1).SourceConstantAlpha, 0);
  EXPECT_TRUE(IsSkinDrawnButtonStyle(BS_PUSHBUTTON));
  EXPECT_TRUE(IsSkinDrawnButtonStyle(BS_DEFPUSHBUTTON));
  EXPECT_TRUE(IsSkinDrawnButtonStyle(BS_USERBUTTON));
  EXPECT_FALSE(IsSkinDrawnButtonStyle(BS_AUTOCHECKBOX));
  EXPECT_FALSE(IsSkinDrawnButtonStyle(BS_GROUPBOX));
  EXPECT_FALSE(IsSkinDrawnButtonStyle(BS_OWNERDRAW));
  EXPECT_FALSE(IsSkinDrawnButtonStyle(BS_RADIOBUTTON));
  EXPECT_FALSE(IsSkinDrawnButtonStyle(BS_AUTORADIOBUTTON));
  EXPECT_TRUE(IsSkinDrawnButtonStyle(WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON));
}

}  // namespace
}  // namespace skin
