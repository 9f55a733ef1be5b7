#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/messages/pointer_tracking.h"
#include "skin/messages/skin_window_proc.h"
#include "tests/support/skin_test_form.h"
#include "tests/support/skin_test_pixels.h"
#include "tests/support/running_program.h"
#include "tests/support/test_paths.h"
#include "tests/support/window_pixels.h"
#include "tests/support/window_properties.h"
#include "win/unique_handle.h"

namespace skin {
namespace {

using testing_support::SkinTestForm;

using testing_support::WindowProperties;

struct WindowSnapshot {
  LONG_PTR style;
  LONG_PTR procedure;
  int regionType;
};

WindowSnapshot Snapshot(HWND window) {
  const gdi::Region region(CreateRectRgn(0, 0, 0, 0));
  const int type = GetWindowRgn(window, region.get());
  return {GetWindowLongPtrW(window, GWL_STYLE), GetWindowLongPtrW(window, GWLP_WNDPROC), type};
}

// The region of a skinned button: (0, 0) to (W + 1, H + 1) with 3 x 3 corner ellipses, which the
// platform makes W x H with each corner pixel cut.
void ExpectButtonRegion(HWND button) {
  RECT rect;
  GetWindowRect(button, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const gdi::Region actual(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(button, actual.get()), ERROR);
  const gdi::Region expected(CreateRoundRectRgn(0, 0, width + 1, height + 1, 3, 3));
  EXPECT_TRUE(EqualRgn(actual.get(), expected.get()));
}

class SkinEngineTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // Whatever a test left skinned goes with its form; the engine must be back at rest.
    form_.Destroy();
    EXPECT_EQ(SkinnedWindowCount(), 0);
    EXPECT_FALSE(SpriteSheetBuilt());
  }
  SkinTestForm form_;
};

TEST_F(SkinEngineTest, InstallAttachesTheFormAndEverythingInIt) {
  std::map<HWND, WindowSnapshot> before;
  for (HWND button : form_.buttons()) before[button] = Snapshot(button);

  ASSERT_EQ(SkinInstall(form_.form()), 1);
  EXPECT_TRUE(SpriteSheetBuilt());
  EXPECT_NE(ButtonSprite(), nullptr);
  EXPECT_EQ(SkinnedWindowCount(), 6);

  for (HWND window : {form_.form(), form_.frame()}) {
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(SkinWindowProc));
    const auto found = WindowProperties(window);
    EXPECT_NE(found.count("PROCADDR"), 0u);
    for (const char* key : props::kAllKeys) {
      if (std::string(key) != "PROCADDR") {
        EXPECT_EQ(found.count(key), 0u) << key;
      }
    }
  }
  for (HWND button : form_.buttons()) {
    SCOPED_TRACE(testing::Message() << "button " << button);
    EXPECT_EQ(GetSkinProp(button, props::kProcAddr), before[button].procedure);
    for (int state = 0; state < kSkinStateCount; ++state) {
      HDC surface = GetSkinPropHandle<HDC>(button, props::kStateSurface[state]);
      HBITMAP bitmap = GetSkinPropHandle<HBITMAP>(button, props::kStateBitmap[state]);
      ASSERT_NE(surface, nullptr);
      EXPECT_EQ(GetCurrentObject(surface, OBJ_BITMAP), bitmap);
      BITMAP info{};
      GetObjectW(bitmap, sizeof(info), &info);
      RECT rect;
      GetWindowRect(button, &rect);
      EXPECT_EQ(info.bmWidth, rect.right - rect.left);
      EXPECT_EQ(info.bmHeight, rect.bottom - rect.top);
    }
    EXPECT_EQ(GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(GetSkinProp(button, props::kOldStyle), before[button].style);
    EXPECT_EQ(GetSkinProp(button, props::kOldState), 0);
    EXPECT_EQ(GetSkinProp(button, props::kAlphaLevel), 0);
    EXPECT_EQ(GetSkinProp(button, props::kTimerId), 0);
    EXPECT_EQ(GetSkinProp(button, props::kMouseFlag), 0);
    ExpectButtonRegion(button);
  }

  // A second install finds the form skinned and changes nothing.
  std::map<HWND, std::map<std::string, LONG_PTR>> propsBefore;
  for (HWND button : form_.buttons()) propsBefore[button] = WindowProperties(button);
  EXPECT_EQ(SkinInstall(form_.form()), 0);
  EXPECT_EQ(SkinAttachWindow(form_.frame()), 0);
  EXPECT_EQ(SkinnedWindowCount(), 6);
  for (HWND button : form_.buttons()) EXPECT_EQ(WindowProperties(button), propsBefore[button]);

  // Removal takes everything away again and releases the sprite sheet.
  EXPECT_EQ(SkinRemove(form_.form()), 1);
  EXPECT_EQ(SkinnedWindowCount(), 0);
  EXPECT_FALSE(SpriteSheetBuilt());
  for (HWND window : {form_.form(), form_.frame()})
    EXPECT_FALSE(testing_support::CarriesAnySkinProperty(window));
  for (HWND button : form_.buttons()) {
    EXPECT_FALSE(testing_support::CarriesAnySkinProperty(button));
    const WindowSnapshot after = Snapshot(button);
    EXPECT_EQ(after.style, before[button].style);
    EXPECT_EQ(after.procedure, before[button].procedure);
    EXPECT_EQ(after.regionType, ERROR);  // no region
  }
  EXPECT_EQ(SkinRemove(form_.form()), 0);

  // The next install builds the sheet afresh.
  EXPECT_EQ(SkinInstall(form_.form()), 1);
  EXPECT_TRUE(SpriteSheetBuilt());
  EXPECT_EQ(SkinnedWindowCount(), 6);
  EXPECT_EQ(SkinRemove(form_.form()), 1);
}

// The attach leaves each button invalid, to be painted once with its face, and the corners its
// region cuts away invalid in the frame, which shows them again.
TEST_F(SkinEngineTest, AttachRepaintsTheFaceAndGivesTheCutCornersBackToTheFrame) {
  SetCursorPos(0, 0);  // no button turns hot
  RedrawWindow(form_.form(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  for (HWND button : form_.buttons()) {
    const SIZE size = testing_support::WindowSize(button);
    testing_support::FillWindow(button, 0, 0, size.cx, size.cy);
  }
  // The buttons alone, so that nothing else invalidates the frame.
  for (HWND button : form_.buttons()) ASSERT_EQ(SkinAttachWindow(button), 1);
  const gdi::Region frameUpdate(CreateRectRgn(0, 0, 0, 0));
  GetUpdateRgn(form_.frame(), frameUpdate.get(), FALSE);
  for (HWND button : form_.buttons()) {
    SCOPED_TRACE(testing::Message() << "button " << button);
    const RECT place = testing_support::RectInParent(button);
    for (const POINT corner :
         {POINT{place.left, place.top}, POINT{place.right - 1, place.top},
          POINT{place.left, place.bottom - 1}, POINT{place.right - 1, place.bottom - 1}}) {
      EXPECT_TRUE(PtInRegion(frameUpdate.get(), corner.x, corner.y))
          << corner.x << ", " << corner.y;
    }
    RECT invalid{};
    GetUpdateRect(button, &invalid, FALSE);
    EXPECT_EQ(invalid.right - invalid.left, place.right - place.left);
    EXPECT_EQ(invalid.bottom - invalid.top, place.bottom - place.top);
  }
  RedrawWindow(form_.form(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  for (HWND button : form_.buttons()) {
    EXPECT_EQ(
        testing_support::CountDifferencesInRegion(button, testing_support::StatePixels(button, 0)),
        0);
  }
}

// "PROCADDR" is public, so anyone may take it off or put it on. The skin knows its windows by
// its own state: a second install neither attaches a window again (its own procedure would become
// the previous one and the next message would recurse without end) nor wipes its state, and puts
// the marker back; the removal takes everything off all the same. A marker put on by someone else
// makes no window skinned: the removal leaves that window's procedure alone.
TEST_F(SkinEngineTest, TheSkinKnowsItsWindowsWhateverHappensToTheirMarker) {
  HWND form = form_.form();
  HWND button = form_.wideButton();
  const LONG_PTR formProcedure = GetWindowLongPtrW(form, GWLP_WNDPROC);
  ASSERT_EQ(SkinInstall(form), 1);
  const auto buttonProps = WindowProperties(button);
  for (HWND window : {form, button}) RemovePropA(window, "PROCADDR");
  EXPECT_EQ(SkinInstall(form), 0);
  EXPECT_EQ(SkinAttachWindow(button), 0);
  EXPECT_EQ(SkinnedWindowCount(), 6);
  EXPECT_EQ(WindowProperties(button), buttonProps);
  EXPECT_EQ(GetSkinProp(form, props::kProcAddr), formProcedure);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropA(form, "PROCADDR")), formProcedure);
  // The marker put back leads the button's messages to its own procedure again.
  SendMessageW(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"marker"));
  wchar_t text[16] = {};
  GetWindowTextW(button, text, 16);
  EXPECT_STREQ(text, L"marker");

  for (HWND window : {form, button}) RemovePropA(window, "PROCADDR");
  EXPECT_EQ(SkinRemove(form), 1);
  EXPECT_EQ(SkinnedWindowCount(), 0);
  EXPECT_FALSE(SpriteSheetBuilt());
  EXPECT_EQ(GetWindowLongPtrW(form, GWLP_WNDPROC), formProcedure);
  for (HWND window : {form, button}) EXPECT_FALSE(testing_support::CarriesAnySkinProperty(window));

  SetPropA(form, "PROCADDR", reinterpret_cast<HANDLE>(formProcedure + 16));
  EXPECT_EQ(SkinRemove(form), 0);
  EXPECT_EQ(GetWindowLongPtrW(form, GWLP_WNDPROC), formProcedure);
  EXPECT_EQ(SkinInstall(form), 1);
  EXPECT_EQ(GetSkinProp(form, props::kProcAddr), formProcedure);
  EXPECT_EQ(SkinRemove(form), 1);
  EXPECT_EQ(GetWindowLongPtrW(form, GWLP_WNDPROC), formProcedure);
}

TEST_F(SkinEngineTest, NullAndForeignThreadWindowsAreLeftAlone) {
  EXPECT_EQ(SkinAttachWindow(nullptr), 0);
  EXPECT_EQ(SkinDetachWindow(nullptr), 0);
  EXPECT_EQ(SkinDetachWindow(form_.form()), 0);  // not skinned

  // The desktop belongs to another thread: it cannot be subclassed and must not be counted.
  EXPECT_EQ(SkinAttachWindow(GetDesktopWindow()), 0);
  EXPECT_EQ(SkinnedWindowCount(), 0);
  EXPECT_EQ(GetPropA(GetDesktopWindow(), "PROCADDR"), nullptr);
}

TEST_F(SkinEngineTest, DisabledButtonIsAttachedDisabled) {
  EnableWindow(form_.narrowButton(), FALSE);
  ASSERT_EQ(SkinInstall(form_.form()), 1);
  EXPECT_EQ(GetSkinProp(form_.narrowButton(), props::kOldState), 3);
  EXPECT_EQ(GetSkinProp(form_.wideButton(), props::kOldState), 0);

  // The detach restores the button type but not a stale enabled state: the button was enabled
  // while skinned and stays enabled.
  EnableWindow(form_.narrowButton(), TRUE);
  EXPECT_EQ(SkinRemove(form_.form()), 1);
  EXPECT_TRUE(IsWindowEnabled(form_.narrowButton()));
  EXPECT_EQ(GetWindowLongPtrW(form_.narrowButton(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST_F(SkinEngineTest, ButtonsOtherThanPushButtonsAreLeftUnskinned) {
  // Check box, radio buttons of both kinds, group box, owner-drawn: they keep their own drawing
  // and behaviour, and the skin puts nothing on them (no surfaces, no region, no procedure).
  std::map<HWND, WindowSnapshot> others;
  int y = 112;
  for (DWORD type :
       {BS_AUTOCHECKBOX, BS_RADIOBUTTON, BS_AUTORADIOBUTTON, BS_GROUPBOX, BS_OWNERDRAW}) {
    HWND button = CreateWindowExW(0, L"BUTTON", L"other", WS_CHILD | WS_VISIBLE | type, 8, y, 80,
                                  16, form_.form(), nullptr, GetModuleHandleW(nullptr), nullptr);
    others[button] = Snapshot(button);
    y += 18;
  }
  ASSERT_EQ(SkinInstall(form_.form()), 1);
  EXPECT_EQ(SkinnedWindowCount(), 6);
  for (const auto& [button, before] : others) {
    SCOPED_TRACE(testing::Message() << "type " << (before.style & BS_TYPEMASK));
    EXPECT_FALSE(testing_support::CarriesAnySkinProperty(button));
    const WindowSnapshot after = Snapshot(button);
    EXPECT_EQ(after.style, before.style);
    EXPECT_EQ(after.procedure, before.procedure);
    EXPECT_EQ(after.regionType, ERROR);
  }
  EXPECT_EQ(SkinRemove(form_.form()), 1);
}

TEST_F(SkinEngineTest, WindowsCreatedLaterInsideASkinnedFormAreSkinnedWhenTheyAppear) {
  ASSERT_EQ(SkinInstall(form_.form()), 1);
  // A child dialog with a push button inside, created hidden as a property sheet makes its pages.
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HWND page = CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"", WS_CHILD, 0, 0, 200, 60,
                              form_.form(), nullptr, instance, nullptr);
  HWND button = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8, 8,
                                80, 25, page, nullptr, instance, nullptr);
  SendMessageW(form_.form(), WM_NULL, 0, 0);
  EXPECT_FALSE(IsSkinned(page)) << "attached before it was shown";
  EXPECT_FALSE(IsSkinned(button));

  ShowWindow(page, SW_SHOW);
  SendMessageW(form_.form(), WM_NULL, 0, 0);  // after any message of a skinned window
  EXPECT_TRUE(IsSkinned(page));
  EXPECT_TRUE(IsSkinned(button));
  EXPECT_EQ(GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(SkinnedWindowCount(), 8);
  SendMessageW(page, WM_NULL, 0, 0);
  EXPECT_EQ(SkinnedWindowCount(), 8) << "attached twice";

  // The removal takes everything off again, the late windows included.
  EXPECT_EQ(SkinRemove(form_.form()), 1);
  EXPECT_EQ(SkinnedWindowCount(), 0);
  EXPECT_FALSE(testing_support::CarriesAnySkinProperty(page));
  EXPECT_FALSE(testing_support::CarriesAnySkinProperty(button));
}

TEST_F(SkinEngineTest, DestroyedWindowIsDetachedOnItsWayOut) {
  ASSERT_EQ(SkinInstall(form_.form()), 1);
  HWND button = form_.buttons()[1];
  DestroyWindow(button);
  EXPECT_EQ(SkinnedWindowCount(), 5);
  EXPECT_TRUE(SpriteSheetBuilt());
  // Destroying the form detaches the rest, the form last; the sheet goes with it.
  form_.Destroy();
  EXPECT_EQ(SkinnedWindowCount(), 0);
  EXPECT_FALSE(SpriteSheetBuilt());
}

TEST_F(SkinEngineTest, ProbeExportFindsExportsAndReleasesWhatItLoaded) {
  EXPECT_TRUE(ProbeExport("TrackMouseEvent", "User32"));
  EXPECT_TRUE(ProbeExport("_TrackMouseEvent", "comctl32.dll"));
  EXPECT_FALSE(ProbeExport("NoSuchExport", "User32"));
  EXPECT_FALSE(ProbeExport("Anything", "no_such_library_here.dll"));
  if (GetModuleHandleA("imagehlp.dll") == nullptr) {
    EXPECT_TRUE(ProbeExport("ImageLoad", "imagehlp.dll"));
    EXPECT_EQ(GetModuleHandleA("imagehlp.dll"), nullptr);
  }
}

// A library that lies only beside the program, as a downloaded file may, is never taken: not by
// its name, nor by its path. The plain search that ProbeExport avoids would find it.
TEST(ProbeExportTest, TakesNoLibraryFromTheProgramsFolder) {
  wchar_t program[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
  const std::filesystem::path planted =
      std::filesystem::path(program).replace_filename("planted_beside_program.dll");
  ASSERT_TRUE(CopyFileW((testing_support::LoadMarkerDir() + L"msimg32.dll").c_str(),
                        planted.c_str(), FALSE));
  EXPECT_FALSE(ProbeExport("AlphaBlend", "planted_beside_program.dll"));
  EXPECT_FALSE(ProbeExport("AlphaBlend", planted.string().c_str()));
  win::Module found(LoadLibraryW(L"planted_beside_program.dll"));
  EXPECT_TRUE(found) << "the plain search does not find the library beside the program";
  found.reset();
  DeleteFileW(planted.c_str());
  DeleteFileW((planted.wstring() + L".loaded").c_str());
}

TEST_F(SkinEngineTest, InstallProbesTheTrackingFunction) {
  ASSERT_EQ(SkinInstall(form_.form()), 1);
  EXPECT_TRUE(HasUserTrackMouseEvent());
  EXPECT_EQ(SkinRemove(form_.form()), 1);
}

}  // namespace
}  // namespace skin
