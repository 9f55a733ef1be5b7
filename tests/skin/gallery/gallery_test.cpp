// Pictures of the skinned gallery in each state, for a person to look at, and the leak check
// over rounds of hovering, pressing and repainting every control.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "skin/graphics/sprite_tables.h"
#include "skin/painters/control_colours.h"
#include "skin/painters/control_geometry.h"
#include "tests/support/skinned_gallery.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/pictures.h"

namespace gallery_tests {
namespace {

using namespace testing_support;

bool IsCombo(const testing_support::ControlGallery& gallery, HWND window) {
  return window == gallery.comboSimple || window == gallery.comboEditable ||
         window == gallery.comboDropList || window == gallery.comboDisabled ||
         window == gallery.driveList;
}

// Where to put the pointer on a control: on the drop button of combo boxes, on an item of the
// header, in the middle of anything else.
POINT Target(const testing_support::ControlGallery& gallery, HWND window) {
  const SIZE size = WindowSize(window);
  if (IsCombo(gallery, window)) return {size.cx - 8, size.cy / 2};
  if (window == gallery.header) return {130, 5};
  RECT client{};
  GetClientRect(window, &client);
  return {client.right / 2, client.bottom / 2};
}

void RepaintAll(HWND form) {
  RedrawWindow(form, nullptr, nullptr,
               RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// The screen around the form: the dropped list of a combo box is a window of its own.
void SaveScreenAroundForm(HWND form, const std::wstring& fileName) {
  RECT rect{};
  GetWindowRect(form, &rect);
  rect.bottom += 40;
  testing_support::SaveScreenPicture(rect, fileName);
}

// The pictures show what their names say: the drop button of the drop-down list and the header
// item under the pointer have the faces of the state (0 normal, 1 hot, 2 pressed) in the sprite
// tables.
void ExpectComboAndHeaderLook(const ControlGallery& gallery, int state) {
  SCOPED_TRACE(testing::Message() << "state " << state);
  HWND combo = gallery.comboDropList;
  const int buttonLeft =
      WindowSize(combo).cx - skin::ComboButtonWidth(GetSystemMetrics(SM_CXVSCROLL)) - 1;
  const COLORREF buttonFace[] = {skin::kWhite, skin::kComboSpritePixels[0][1],
                                 skin::kComboSpritePixels[0][5]};
  EXPECT_EQ(WindowPixel(combo, buttonLeft + 1, 1), buttonFace[state]);
  EXPECT_EQ(WindowPixel(gallery.header, kGalleryHeaderItemWidths[0] + 1, 1),
            skin::kHeaderSpritePixels[1][1 + 3 * state]);
}

class GalleryPicturesTest : public SkinnedGalleryTest {};

TEST_F(GalleryPicturesTest, EveryStateOfEveryControl) {
  testing_support::SaveWindowPicture(gallery->form, L"gallery_unskinned.bmp");
  Skin();
  RepaintAll(gallery->form);
  testing_support::SaveWindowPicture(gallery->form, L"gallery_normal.bmp");
  ExpectComboAndHeaderLook(*gallery, 0);

  for (HWND control : gallery->Controls()) {
    const POINT at = Target(*gallery, control);
    testing_support::MoveCursorTo(control, at.x, at.y);  // hover needs the pointer there
    SendMessageW(control, WM_MOUSEMOVE, 0, PointParam(at.x, at.y));
  }
  testing_support::SaveWindowPicture(gallery->form, L"gallery_hot.bmp");
  ExpectComboAndHeaderLook(*gallery, 1);

  for (HWND control : gallery->Controls()) {
    const POINT at = Target(*gallery, control);
    SendMessageW(control, WM_MOUSEMOVE, MK_LBUTTON, PointParam(at.x, at.y));
  }
  const POINT onItem = Target(*gallery, gallery->header);
  SendMessageW(gallery->header, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(onItem.x, onItem.y));
  testing_support::SaveWindowPicture(gallery->form, L"gallery_pressed.bmp");
  ExpectComboAndHeaderLook(*gallery, 2);
  SendMessageW(gallery->header, WM_LBUTTONUP, 0, PointParam(onItem.x, onItem.y));
  for (HWND control : gallery->Controls()) SendMessageW(control, WM_MOUSELEAVE, 0, 0);

  SendMessageW(gallery->comboDropList, CB_SHOWDROPDOWN, TRUE, 0);
  testing_support::PumpMessages();
  SaveScreenAroundForm(gallery->form, L"gallery_dropped.bmp");
  SendMessageW(gallery->comboDropList, CB_SHOWDROPDOWN, FALSE, 0);
  SendMessageW(gallery->comboDropList, WM_MOUSELEAVE, 0, 0);
  testing_support::PumpMessages();

  for (HWND control : gallery->Controls()) EnableWindow(control, FALSE);
  RepaintAll(gallery->form);
  testing_support::PumpMessages();
  testing_support::SaveWindowPicture(gallery->form, L"gallery_disabled.bmp");
  ExpectComboAndHeaderLook(*gallery, 0);
  EXPECT_EQ(WindowPixel(gallery->comboDropList, 0, 0), skin::kDisabledFrameColour);
}

// One round: hover, press and release, leave, and a full repaint of every control. Combo boxes
// are pressed with the button held down over them rather than by a click, which would drop
// their list (a window of its own) in every round.
void ExerciseEveryControl(const testing_support::ControlGallery& gallery) {
  for (HWND control : gallery.Controls()) {
    const POINT at = Target(gallery, control);
    const LPARAM point = PointParam(at.x, at.y);
    testing_support::MoveCursorTo(control, at.x, at.y);
    SendMessageW(control, WM_MOUSEMOVE, 0, point);
    SendMessageW(control, WM_MOUSEMOVE, MK_LBUTTON, point);
    // A disabled window gets no mouse input (and a click on a disabled option button would
    // make the system's search for its group spin).
    if (IsWindowEnabled(control) && !IsCombo(gallery, control)) {
      SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
      SendMessageW(control, WM_LBUTTONUP, 0, point);
    }
    SendMessageW(control, WM_MOUSELEAVE, 0, 0);
  }
  RepaintAll(gallery.form);
  testing_support::PumpMessages();
}

// The accounting is exact, so an object lost per round shows as a hundred after a hundred rounds
// as surely as a thousand after a thousand; every round does the same things, so more rounds
// would only find a leak rarer than one in a hundred rounds.
constexpr int kLeakRounds = 100;

TEST_F(GalleryPicturesTest, NoGdiObjectLeaksOverAHundredRounds) {
  Skin();
  ExerciseEveryControl(*gallery);  // first use fills the system's caches
  const DWORD start = GetTickCount();
  EXPECT_GDI_OBJECTS_UNCHANGED({
    for (int round = 0; round < kLeakRounds; ++round) ExerciseEveryControl(*gallery);
  });
  std::printf("%d rounds took %lu ms\n", kLeakRounds,
              static_cast<unsigned long>(GetTickCount() - start));
}

}  // namespace
}  // namespace gallery_tests
