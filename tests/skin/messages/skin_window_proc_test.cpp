#include <windows.h>

#include <gtest/gtest.h>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_props.h"
#include "skin/messages/skin_window_proc.h"
#include "tests/support/allocation_failure.h"
#include "tests/support/message_recorder.h"
#include "tests/support/skin_test_form.h"
#include "tests/support/window_class.h"

namespace skin {
namespace {

constexpr LRESULT kRecorderBrush = 0x5151;
constexpr wchar_t kRecorderClass[] = L"MorvaneRecorder";

// A plain window under a recording subclass, which answers WM_CTLCOLORLISTBOX with a brush of
// its own so that a test can see whose answer comes back.
HWND CreateRecorder(testing_support::MessageRecorder& recorder, HWND owner = nullptr,
                    const wchar_t* className = kRecorderClass) {
  HWND window = CreateWindowExW(0, testing_support::TestWindowClass(className), L"录音", WS_POPUP,
                                0, 0, 40, 40, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  recorder.Answer(WM_CTLCOLORLISTBOX, kRecorderBrush);
  recorder.Watch(window);
  return window;
}

class SkinWindowProcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recorder_ = CreateRecorder(received);
    ASSERT_NE(recorder_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(recorder_);
    EXPECT_EQ(SkinnedWindowCount(), 0);
  }
  bool WasReceived(UINT message, WPARAM wParam, LPARAM lParam) const {
    return received.Saw(recorder_, message, wParam, lParam);
  }

  testing_support::MessageRecorder received;
  HWND recorder_ = nullptr;
};

TEST_F(SkinWindowProcTest, WithoutTheSkinMessagesGoToTheDefaultProcedure) {
  EXPECT_EQ(SkinWindowProc(nullptr, WM_GETTEXTLENGTH, 0, 0), 0);
  // No "PROCADDR": the default procedure answers, the window's own procedure is not called.
  EXPECT_EQ(SkinWindowProc(recorder_, WM_GETTEXTLENGTH, 0, 0), 2);
  EXPECT_FALSE(WasReceived(WM_GETTEXTLENGTH, 0, 0));
}

TEST_F(SkinWindowProcTest, OtherKindsPassEveryMessageOnUnchanged) {
  ASSERT_EQ(SkinAttachWindow(recorder_), 1);
  received.Clear();
  const UINT messages[] = {WM_SIZE,          WM_SETFOCUS,   WM_KILLFOCUS,   WM_ENABLE,
                           WM_PAINT,         WM_NCPAINT,    WM_KEYDOWN,     WM_KEYUP,
                           WM_TIMER,         WM_MOUSEMOVE,  WM_LBUTTONDOWN, WM_LBUTTONUP,
                           WM_LBUTTONDBLCLK, WM_MOUSELEAVE, 0x0009,         WM_USER + 7};
  for (UINT message : messages) {
    // WM_NCPAINT carries a region (1: the whole window) and WM_TIMER a callback or 0.
    const WPARAM wParam = message == WM_NCPAINT ? 1 : 0x21;
    const LPARAM lParam = message == WM_TIMER ? 0 : 0x00430042;
    SendMessageW(recorder_, message, wParam, lParam);
    EXPECT_TRUE(WasReceived(message, wParam, lParam)) << std::hex << message;
  }
  // Text passes through the skin's procedure without loss.
  EXPECT_TRUE(SetWindowTextW(recorder_, L"显示内嵌图片"));
  wchar_t text[32] = {};
  GetWindowTextW(recorder_, text, 32);
  EXPECT_STREQ(text, L"显示内嵌图片");
  EXPECT_EQ(SkinDetachWindow(recorder_), 1);
}

TEST_F(SkinWindowProcTest, DestroyDetachesBeforeThePreviousProcedureSeesIt) {
  ASSERT_EQ(SkinAttachWindow(recorder_), 1);
  const LONG_PTR previous = GetSkinProp(recorder_, "PROCADDR");
  EXPECT_EQ(SkinnedWindowCount(), 1);
  received.Clear();
  DestroyWindow(recorder_);
  bool sawDestroy = false;
  for (const testing_support::RecordedMessage& r : received.messages()) {
    if (r.message == WM_DESTROY) {
      sawDestroy = true;
      EXPECT_FALSE(r.skinned);
      EXPECT_EQ(r.wParam, 0u);
      EXPECT_EQ(r.lParam, 0);
    }
  }
  EXPECT_TRUE(sawDestroy);
  EXPECT_TRUE(WasReceived(WM_NCDESTROY, 0, 0));
  EXPECT_EQ(SkinnedWindowCount(), 0);
  EXPECT_NE(previous, 0);
  recorder_ = CreateRecorder(received);  // for TearDown
}

TEST_F(SkinWindowProcTest, ListColourRequestAndIdleAttachTheWindowInLParam) {
  ASSERT_EQ(SkinAttachWindow(recorder_), 1);
  HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD, 0, 0, 20, 20, recorder_, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  HWND idle = CreateRecorder(received, nullptr, L"MorvaneIdle");

  // lParam 0 attaches nothing; the brush of the previous procedure comes back unchanged.
  EXPECT_EQ(SendMessageW(recorder_, WM_CTLCOLORLISTBOX, 0, 0), kRecorderBrush);
  SendMessageW(recorder_, WM_ENTERIDLE, 0, 0);
  EXPECT_EQ(SkinnedWindowCount(), 1);

  EXPECT_EQ(SendMessageW(recorder_, WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(list)),
            kRecorderBrush);
  EXPECT_TRUE(IsSkinned(list));
  EXPECT_EQ(SkinnedWindowCount(), 2);
  const LONG_PTR saved = GetSkinProp(list, "PROCADDR");
  SendMessageW(recorder_, WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(GetSkinProp(list, "PROCADDR"), saved);  // attached once only
  EXPECT_EQ(SkinnedWindowCount(), 2);

  SendMessageW(recorder_, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(idle));
  EXPECT_TRUE(IsSkinned(idle));
  EXPECT_EQ(SkinnedWindowCount(), 3);

  DestroyWindow(idle);
  DestroyWindow(list);
  EXPECT_EQ(SkinDetachWindow(recorder_), 1);
}

// An allocation that fails while the skin handles a message stops in the skin's procedure: the
// message returns the previous procedure's answer, nothing half-made is left on either window,
// and the same message attaches the list once memory is there again.
TEST(SkinWindowProcFailure, AnAllocationThatFailsInsideTheProcedureStopsThere) {
  testing_support::SkinTestForm form;
  ASSERT_EQ(SkinInstall(form.form()), 1);
  HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  const LRESULT answer =
      DefDlgProcW(form.form(), WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(list));
  LRESULT failed = 0;
  int refused = 0;
  {
    const testing_support::AllocationFailure failure;
    failed = SendMessageW(form.form(), WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(list));
    refused = failure.refused();
  }
  EXPECT_GT(refused, 0) << "the attach made no allocation: the test reaches nothing";
  EXPECT_EQ(failed, answer);
  EXPECT_FALSE(IsSkinned(list));
  EXPECT_FALSE(RemembersWindow(list));
  EXPECT_TRUE(IsSkinned(form.form()));

  SendMessageW(form.form(), WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(list));
  EXPECT_TRUE(IsSkinned(list));
  DestroyWindow(list);
  EXPECT_EQ(SkinRemove(form.form()), 1);
  EXPECT_EQ(SkinnedWindowCount(), 0);
}

TEST_F(SkinWindowProcTest, ActivationAttachesOwnedWindowsAndForms) {
  ASSERT_EQ(SkinAttachWindow(recorder_), 1);
  HWND owned = CreateRecorder(received, recorder_, L"MorvaneOwned");
  HWND stranger = CreateRecorder(received, nullptr, L"MorvaneStranger");
  HWND otherForm = CreateWindowExW(0, L"#32770", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);

  // Neither owned nor a form: left alone, whatever the activation state.
  SendMessageW(recorder_, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(stranger));
  EXPECT_FALSE(IsSkinned(stranger));
  SendMessageW(recorder_, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(SkinnedWindowCount(), 1);

  SendMessageW(recorder_, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(owned));
  EXPECT_TRUE(IsSkinned(owned));
  SendMessageW(recorder_, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(otherForm));
  EXPECT_TRUE(IsSkinned(otherForm));
  EXPECT_EQ(SkinnedWindowCount(), 3);
  // The previous procedure still sees the activation.
  EXPECT_TRUE(WasReceived(WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(otherForm)));

  DestroyWindow(otherForm);
  DestroyWindow(stranger);
  DestroyWindow(owned);
  EXPECT_EQ(SkinnedWindowCount(), 1);
  EXPECT_EQ(SkinDetachWindow(recorder_), 1);
}

}  // namespace
}  // namespace skin
