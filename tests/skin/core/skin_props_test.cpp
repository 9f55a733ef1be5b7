#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/messages/fade_timer.h"
#include "tests/skin/skin_test_windows.h"
#include "tests/support/skin_test_form.h"
#include "win/unique_handle.h"
#include "tests/support/window_properties.h"

namespace skin {
namespace {

class SkinPropsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }
  HWND window_ = nullptr;
};

TEST_F(SkinPropsTest, KeysAreTheUpperCaseNamesAndDistinct) {
  std::set<std::string> keys(std::begin(props::kAllKeys), std::end(props::kAllKeys));
  EXPECT_EQ(keys, (std::set<std::string>{"PROCADDR", "HDC0", "HDC1", "HDC2", "HDC3", "BMP0", "BMP1",
                                         "BMP2", "BMP3", "OLDSTYLE", "MOUSEFLAG", "TIMERID",
                                         "OLDSTATE", "ALPHALEVEL", "HDINDEX", "HMINDEX"}));
}

TEST_F(SkinPropsTest, MissingReadsZeroAndValuesRoundTripAtPointerWidth) {
  EXPECT_EQ(GetSkinProp(window_, props::kOldState), 0);
  EXPECT_FALSE(IsSkinned(window_));

  SetSkinProp(window_, props::kHeaderHotIndex, -1);
  EXPECT_EQ(GetSkinProp(window_, props::kHeaderHotIndex), -1);
  // The platform sees the all-ones pattern, not a truncated 32-bit value.
  EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(window_, "HMINDEX")), INT_PTR{-1});

  SetSkinProp(window_, props::kAlphaLevel, 255);
  EXPECT_EQ(GetSkinProp(window_, props::kAlphaLevel), 255);

  // A pointer-sized value (a procedure address or a handle) survives whole on 64-bit.
  const LONG_PTR wide =
      static_cast<LONG_PTR>(sizeof(void*) == 8 ? INT64_C(0x123456789ABC) : 0x12345678);
  SetSkinProp(window_, props::kProcAddr, wide);
  EXPECT_EQ(GetSkinProp(window_, props::kProcAddr), wide);
  EXPECT_TRUE(IsSkinned(window_));

  HDC dc = reinterpret_cast<HDC>(static_cast<INT_PTR>(0x4321));
  SetSkinPropHandle(window_, props::kStateSurface[2], dc);
  EXPECT_EQ(GetSkinPropHandle<HDC>(window_, "HDC2"), dc);

  for (const char* key : props::kAllKeys) RemoveSkinProp(window_, key);
  for (const char* key : props::kAllKeys) {
    EXPECT_EQ(GetPropA(window_, key), nullptr) << key;
  }
  EXPECT_FALSE(IsSkinned(window_));
  RemoveSkinProp(window_, props::kTimerId);  // removing a missing key is harmless
  EXPECT_EQ(GetPropA(window_, "TIMERID"), nullptr);
}

BOOL WINAPI RefuseEveryWrite(HWND, LPCSTR, HANDLE) { return FALSE; }

// A write the window cannot take (the desktop heap or the atom table is exhausted) says so, and
// the window, kept by the store or not, reads what it carried before.
TEST_F(SkinPropsTest, AWriteTheWindowCannotTakeIsReportedAndChangesNothing) {
  for (const bool kept : {false, true}) {
    SCOPED_TRACE(kept ? "kept by the store" : "not kept");
    if (kept) RememberSkinProps(window_);
    ASSERT_TRUE(SetSkinProp(window_, props::kAlphaLevel, 40));
    SetPropertyWriterForTesting(RefuseEveryWrite);
    EXPECT_FALSE(SetSkinProp(window_, props::kAlphaLevel, 80));
    EXPECT_FALSE(SetSkinProp(window_, props::kProcAddr, 0x1234));
    SetPropertyWriterForTesting(nullptr);
    EXPECT_EQ(GetSkinProp(window_, props::kAlphaLevel), 40);
    EXPECT_FALSE(IsSkinned(window_));
    RemoveSkinProp(window_, props::kAlphaLevel);
    EXPECT_FALSE(RemembersWindow(window_));
  }
}

TEST_F(SkinPropsTest, StateReadsBackAndOutOfRangeValuesReadAsNormal) {
  for (SkinState state :
       {SkinState::Normal, SkinState::Hot, SkinState::Pressed, SkinState::Disabled}) {
    SetSkinState(window_, state);
    EXPECT_EQ(GetSkinState(window_), state);
    EXPECT_EQ(GetSkinProp(window_, "OLDSTATE"), ToInt(state));
  }
  SetSkinProp(window_, props::kOldState, 7);
  EXPECT_EQ(GetSkinState(window_), SkinState::Normal);
  SetSkinProp(window_, props::kOldState, -1);
  EXPECT_EQ(GetSkinState(window_), SkinState::Normal);
  RemoveSkinProp(window_, props::kOldState);
  EXPECT_EQ(GetPropA(window_, "OLDSTATE"), nullptr);
}

// Every key must read the same through the store as through GetPropA, which is what any other
// process sees.
std::string Disagreements(const std::vector<HWND>& windows) {
  std::ostringstream text;
  for (HWND window : windows) {
    for (const char* key : props::kAllKeys) {
      const LONG_PTR carried = reinterpret_cast<LONG_PTR>(GetPropA(window, key));
      if (GetSkinProp(window, key) != carried) text << window << " " << key << "\n";
    }
  }
  return text.str();
}

TEST(SkinPropsStore, EveryKeyTheSkinWritesIsOnTheWindowAtEveryMoment) {
  testing_support::SkinTestForm form(false);
  const std::vector<HWND> windows = skin_tests::WindowTree(form.form());
  ASSERT_EQ(SkinInstall(form.form()), 1);
  for (HWND window : windows) EXPECT_TRUE(RemembersWindow(window)) << window;
  EXPECT_EQ(Disagreements(windows), "") << "after the install";

  // Hover, a fade step, press, release, leave, disable, enable, focus, size, repaint.
  HWND button = form.wideButton();
  const LPARAM at = MAKELPARAM(5, 5);
  const struct {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } steps[] = {{WM_MOUSEMOVE, 0, at}, {WM_TIMER, kFadeTimerId, 0}, {WM_LBUTTONDOWN, 0, at},
               {WM_LBUTTONUP, 0, at}, {WM_MOUSELEAVE, 0, 0},       {WM_ENABLE, FALSE, 0},
               {WM_ENABLE, TRUE, 0},  {WM_SETFOCUS, 0, 0},         {WM_SIZE, 0, 0},
               {WM_PAINT, 0, 0}};
  for (const auto& step : steps) {
    SendMessageW(button, step.message, step.wParam, step.lParam);
    EXPECT_EQ(Disagreements(windows), "") << "after message 0x" << std::hex << step.message;
  }
  EXPECT_LT(testing_support::TicksUntilFadeEnds(button), 1000) << "the fade never ended";
  EXPECT_EQ(Disagreements(windows), "") << "after the fade";
  testing_support::DropQueuedMessages(button);

  ASSERT_EQ(SkinRemove(form.form()), 1);
  for (HWND window : windows) EXPECT_FALSE(RemembersWindow(window)) << window;
  EXPECT_EQ(Disagreements(windows), "") << "after the removal";
}

// The skin's entries end with their windows. A window the skin lets go of while another
// subclass sits above its procedure stays held as a link: skinned for no reader, carrying nothing,
// but still passing messages on, also once its destruction has begun and the store no longer
// holds it.
TEST(SkinPropsStore, EntriesEndWithTheirWindowsAndALinkOutlivesTheSkin) {
  testing_support::SkinTestForm form(false);
  const std::vector<HWND> windows = skin_tests::WindowTree(form.form());
  ASSERT_EQ(SkinInstall(form.form()), 1);
  form.Destroy();
  for (HWND window : windows) EXPECT_FALSE(RemembersWindow(window)) << window;

  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  {
    SkinRecord record(window, {});
    EXPECT_EQ(SkinHoldOf(window), SkinHold::kNone) << "skinned before the record is kept";
    ASSERT_TRUE(record.Keep());
  }
  EXPECT_EQ(SkinHoldOf(window), SkinHold::kSkinned);
  EXPECT_EQ(GetSkinPropHandle<WNDPROC>(window, props::kProcAddr), procedure);
  LeaveSkinLink(window);
  EXPECT_EQ(SkinHoldOf(window), SkinHold::kLink);
  EXPECT_FALSE(testing_support::CarriesAnySkinProperty(window));
  SkinRecord(window, {});  // an attach that fails leaves the link as it was
  EXPECT_EQ(SkinHoldOf(window), SkinHold::kLink);
  EXPECT_EQ(SkinLinkOf(window), procedure);
  EXPECT_FALSE(testing_support::CarriesAnySkinProperty(window));
  EndSkinEntry(window);
  EXPECT_EQ(SkinHoldOf(window), SkinHold::kNone);
  EXPECT_EQ(SkinLinkOf(window), reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)));
  ForgetSkinWindow(window);
  EXPECT_FALSE(RemembersWindow(window));
  EXPECT_EQ(SkinLinkOf(window), nullptr);
  DestroyWindow(window);
}

// The store learns what a window carries as it starts keeping it, so that a value carried from
// before (here 9 and 0 written by someone else) reads back and is overwritten or removed on the
// window itself, while writes of what the window reads already leave it as it is.
TEST_F(SkinPropsTest, WhatTheWindowCarriesAlreadyIsKnownFromTheStart) {
  const auto skinKeysCarried = [this] {
    testing_support::WindowPropertyMap carried = testing_support::WindowProperties(window_);
    std::erase_if(carried, [](const auto& property) {
      return std::find(std::begin(props::kAllKeys), std::end(props::kAllKeys), property.first) ==
             std::end(props::kAllKeys);
    });
    return carried;
  };
  SetPropA(window_, props::kAlphaLevel, reinterpret_cast<HANDLE>(9));
  SetPropA(window_, props::kTimerId, nullptr);
  RememberSkinProps(window_);
  EXPECT_EQ(GetSkinProp(window_, props::kAlphaLevel), 9);
  SetSkinProp(window_, props::kAlphaLevel, 0);
  EXPECT_EQ(GetPropA(window_, props::kAlphaLevel), nullptr);
  SetSkinProp(window_, props::kMouseFlag, 0);  // reads 0 already: nothing to write
  SetSkinProp(window_, props::kOldState, 2);
  EXPECT_EQ(skinKeysCarried(), (testing_support::WindowPropertyMap{
                                   {"ALPHALEVEL", 0}, {"OLDSTATE", 2}, {"TIMERID", 0}}));
  for (const char* key : {props::kAlphaLevel, props::kTimerId, props::kMouseFlag}) {
    RemoveSkinProp(window_, key);
  }
  EXPECT_EQ(skinKeysCarried(), (testing_support::WindowPropertyMap{{"OLDSTATE", 2}}));
  RemoveSkinProp(window_, props::kOldState);
  EXPECT_FALSE(RemembersWindow(window_));
}

// A window of another thread: its own thread's store keeps its state; this thread reads it from
// the window every time and keeps nothing of it.
TEST(SkinPropsStore, AnotherThreadsWindowIsReadFromItsProperties) {
  const win::KernelHandle written(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  const win::KernelHandle proceed(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  HWND window = nullptr;
  std::thread owner([&] {
    window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    RememberSkinProps(window);
    for (SkinState state : {SkinState::Pressed, SkinState::Disabled}) {
      SetSkinState(window, state);
      SignalObjectAndWait(written.get(), proceed.get(), INFINITE, FALSE);
    }
    RemoveSkinProp(window, props::kOldState);
    DestroyWindow(window);
    SetEvent(written.get());
  });
  WaitForSingleObject(written.get(), INFINITE);
  EXPECT_EQ(GetSkinState(window), SkinState::Pressed);
  RememberSkinProps(window);  // not this thread's window: nothing to keep
  EXPECT_FALSE(RemembersWindow(window));
  SignalObjectAndWait(proceed.get(), written.get(), INFINITE, FALSE);
  EXPECT_EQ(GetSkinState(window), SkinState::Disabled);
  SetEvent(proceed.get());
  owner.join();
}

}  // namespace
}  // namespace skin
