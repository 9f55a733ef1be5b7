// The program while a repair runs: a hung editor, a close request and a screen reader's
// presses, none of which may start a second import or lose the result.

#include <windows.h>

#include <gtest/gtest.h>

#include "accessible/accessible_base.h"
#include "accessible/thread_apartment.h"
#include "tests/app/repair/editor_stand_in.h"
#include "tests/app/repair/inline_image_commands_fixture.h"
#include "tests/support/accessible_reading.h"

namespace {

using payload_tests::EditorStandIn;
using payload_tests::InlineImageCommands;
using payload_tests::InlineImagesValue;
using payload_tests::kHide;
using payload_tests::kShow;
using payload_tests::PayloadFilesLeft;
using payload_tests::RunningForm;
using payload_tests::SetInlineImagesValue;
using testing_support::AnswerMessageBox;
using testing_support::MessageBoxSeen;

// Clicks the button that shows the pictures on a form whose value says they are hidden, and
// waits until the editor stand-in has been started for it.
void StartShowingPictures(const EditorStandIn& standIn, const RunningForm& program) {
  ASSERT_TRUE(standIn.installed());
  ASSERT_TRUE(SetInlineImagesValue(std::wstring(kShow.opposite)));
  ASSERT_NE(program.form(), nullptr);
  RunningForm::Click(program.Button(kShow.caption));
  ASSERT_TRUE(testing_support::WaitUntil([&] { return standIn.Starts().size() == 1; }, 20000));
}

TEST_F(InlineImageCommands, AHungEditorLeavesTheWindowAliveAndIgnoresFurtherClicks) {
  EditorStandIn standIn(EditorStandIn::Mode::kHang);
  RunningForm program;
  ASSERT_NO_FATAL_FAILURE(StartShowingPictures(standIn, program));
  EXPECT_FALSE(IsWindowEnabled(program.form())) << "the window takes no input while waiting";
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutW(program.form(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                launch::kReadyTimeoutMs, &result),
            0)
      << "the window stopped answering while waiting";
  // A click that still reaches a button must not start a second import.
  RunningForm::Click(program.Button(kHide.caption));
  RunningForm::Click(program.Button(kShow.caption));

  // Once the editor is stopped at the bound, the value is set directly.
  const MessageBoxSeen box = program.WaitForMessageBox(30000);
  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.text, kShow.successText);
  EXPECT_TRUE(AnswerMessageBox(box));
  EXPECT_TRUE(IsWindowEnabled(program.form()));
  EXPECT_EQ(standIn.Starts().size(), 1u);
  EXPECT_EQ(payload_tests::CountProcessesNamed(L"regedit.exe"), 0) << "the hung editor was ended";
  EXPECT_EQ(InlineImagesValue(), std::wstring(kShow.value));
  EXPECT_TRUE(PayloadFilesLeft(kShow.fileName).empty());
  EXPECT_EQ(standIn.OverwroteImportFile(), false) << "the import file could be changed";
  EXPECT_TRUE(program.Close());
}

// A close request (the taskbar's "Close window", taskkill without /f) while a repair runs waits:
// the window stays, disabled, until the result box has been answered; then the program ends.
TEST_F(InlineImageCommands, ACloseRequestDuringARepairWaitsUntilItsResultIsAnswered) {
  EditorStandIn standIn(EditorStandIn::Mode::kHeld);
  RunningForm program;
  ASSERT_NO_FATAL_FAILURE(StartShowingPictures(standIn, program));

  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutW(program.form(), WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result),
            0);
  EXPECT_TRUE(IsWindow(program.form())) << "the window was closed while the editor ran";
  EXPECT_FALSE(IsWindowEnabled(program.form()));
  standIn.Release();
  const MessageBoxSeen box = program.WaitForMessageBox();
  ASSERT_NE(box.window, nullptr) << "the result was never shown";
  EXPECT_EQ(box.text, kShow.successText);
  EXPECT_EQ(GetWindow(box.window, GW_OWNER), program.form());
  EXPECT_NE(SendMessageTimeoutW(program.form(), WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result),
            0);
  EXPECT_TRUE(IsWindow(box.window)) << "the result box was closed with the window";

  EXPECT_TRUE(AnswerMessageBox(box));
  DWORD exitCode = 1;
  EXPECT_TRUE(program.WaitForExit(10000, &exitCode)) << "the program went on after its result";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(InlineImagesValue(), std::wstring(kShow.value));
  EXPECT_TRUE(PayloadFilesLeft(kShow.fileName).empty());
}

// A screen reader can do no more than a person during a repair: every command's default action
// and the link's are refused, every object says it is unavailable, and the result box comes.
TEST_F(InlineImageCommands, DuringARepairAReaderCanPressNothingAndTheResultStillComes) {
  const accessible::ThreadApartment apartment;
  EditorStandIn standIn(EditorStandIn::Mode::kHeld);
  RunningForm program;
  ASSERT_NO_FATAL_FAILURE(StartShowingPictures(standIn, program));
  ASSERT_FALSE(IsWindowEnabled(program.form()));

  using testing_support::AccessibleRef;
  using testing_support::ChildVariant;
  const AccessibleRef root = testing_support::ClientObjectOf(program.form());
  ASSERT_TRUE(root);
  const VARIANT self = ChildVariant(CHILDID_SELF);
  EXPECT_EQ(root->accDoDefaultAction(ChildVariant(3)), E_ACCESSDENIED) << "the link";
  std::vector<AccessibleRef> objects = {
      root, testing_support::ClientObjectOf(GetWindow(program.form(), GW_CHILD))};
  for (const wchar_t* caption : {L"显示内嵌图片", L"关闭内嵌图片", L"刷新后马上生效", L"说明"}) {
    const AccessibleRef command = testing_support::ClientObjectOf(program.Button(caption));
    ASSERT_TRUE(command);
    EXPECT_EQ(command->accDoDefaultAction(self), E_ACCESSDENIED) << testing::PrintToString(caption);
    objects.push_back(command);
  }
  for (const AccessibleRef& object : objects) {
    const testing_support::AccessibleNode node = testing_support::ReadNode(object);
    EXPECT_EQ(
        node.state & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED),
        STATE_SYSTEM_UNAVAILABLE)
        << testing::PrintToString(node.name);
  }
  EXPECT_EQ(testing_support::ReadNode(root, 3).state & STATE_SYSTEM_UNAVAILABLE,
            STATE_SYSTEM_UNAVAILABLE)
      << "the link";
  // Clicks that still reach the buttons start nothing either: no confirmation, no instructions.
  RunningForm::Click(program.Button(L"刷新后马上生效"));
  RunningForm::Click(program.Button(L"说明"));

  standIn.Release();
  const MessageBoxSeen box = program.WaitForMessageBox();
  ASSERT_NE(box.window, nullptr) << "the result was never shown";
  EXPECT_EQ(box.text, kShow.successText);
  EXPECT_EQ(program.VisibleWindows().size(), 2u) << "the main window and its result, nothing else";
  EXPECT_TRUE(AnswerMessageBox(box));
  EXPECT_TRUE(IsWindowEnabled(program.form()));
  EXPECT_EQ(standIn.Starts().size(), 1u);
  EXPECT_TRUE(program.Close());
}

}  // namespace
