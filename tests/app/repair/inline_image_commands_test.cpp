#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accessible/accessible_base.h"
#include "accessible/thread_apartment.h"
#include "app/switches/command_line.h"
#include "tests/app/repair/editor_stand_in.h"
#include "tests/support/accessible_reading.h"
#include "tests/support/inline_images_value.h"
#include "tests/support/keyboard_input.h"
#include "tests/support/payload_text.h"
#include "tests/support/pictures.h"
#include "tests/support/running_form.h"
#include "win/unique_handle.h"

namespace {

using payload_tests::Bytes;
using payload_tests::EditorStandIn;
using payload_tests::ExpectedPayload;
using payload_tests::InlineImagesPolicyValue;
using payload_tests::InlineImagesValue;
using payload_tests::InlineImagesValueKeeper;
using payload_tests::LockedInlineImagesKey;
using payload_tests::PictureBoxMappingValue;
using payload_tests::RegistryToolsPolicy;
using payload_tests::RunningForm;
using payload_tests::RunWithSwitch;
using payload_tests::SetInlineImagesValue;
using payload_tests::SwitchProcess;
using payload_tests::TempDirectory;
using payload_tests::WriteFileBytes;
using testing_support::AnswerMessageBox;
using testing_support::MessageBoxSeen;

constexpr wchar_t kTitle[] = L"提示";
// How long a box of the started program is given to paint before its picture is taken.
constexpr DWORD kPaintMs = 300;
// The policy is named neutrally: an administrator may have set it as well as malicious software.
constexpr wchar_t kPolicySentence[] =
    L"注意：注册表编辑器已被组策略“阻止访问注册表编辑工具”禁用（位于“用户配置 → 管理模板 → 系统”，"
    L"注册表值 DisableRegistryTools）。此策略可能由管理员设置，也可能由恶意软件设置；"
    L"如果本机的管理员未设置此策略，请用防病毒软件检查本机。";

// One of the two commands as the user meets it.
struct CommandCase {
  const wchar_t* caption;
  const wchar_t* fileName;
  const wchar_t* value;
  const wchar_t* opposite;
  const wchar_t* successText;
  const wchar_t* failureStart;
};
const CommandCase kShow = {L"显示内嵌图片",
                           L"Ykvo.reg",
                           L"yes",
                           L"no",
                           L"“显示内嵌图片”设置成功，刷新后即可生效！",
                           L"“显示内嵌图片”设置失败"};
const CommandCase kHide = {
    L"关闭内嵌图片",          L"Nkvo.reg", L"no", L"yes", L"“关闭内嵌图片”成功，刷新后即可生效！",
    L"“关闭内嵌图片”设置失败"};

std::wstring WindowsDirectory() {
  wchar_t directory[MAX_PATH] = {};
  GetSystemWindowsDirectoryW(directory, MAX_PATH);
  return directory;
}

// Every place a payload file could end up: the temporary directory, and the system directory
// in all its views (System32 as this process sees it, SysWOW64, and Sysnative, which a 32-bit
// process reaches the real System32 through).
std::vector<std::wstring> PayloadFilePlaces() {
  const std::wstring windows = WindowsDirectory() + L"\\";
  return {TempDirectory(), windows + L"System32\\", windows + L"SysWOW64\\",
          windows + L"Sysnative\\"};
}

// The files in those places named after fileName: "Ykvo*.reg" for "Ykvo.reg".
std::vector<std::wstring> PayloadFilesLeft(const std::wstring& fileName) {
  const std::wstring pattern = fileName.substr(0, fileName.rfind(L'.')) + L"*.reg";
  std::vector<std::wstring> left;
  for (const std::wstring& place : PayloadFilePlaces()) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((place + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      left.push_back(place + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  return left;
}

// Removes the payload files wherever they are, before and after each test.
class InlineImageCommands : public testing::Test {
 protected:
  void SetUp() override { RemovePayloadFiles(); }
  void TearDown() override { RemovePayloadFiles(); }

  static void RemovePayloadFiles() {
    for (const wchar_t* name : {kShow.fileName, kHide.fileName}) {
      for (const std::wstring& file : PayloadFilesLeft(name)) {
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
      }
    }
  }

  // Clicks the command's button and returns the box that follows, answered; with a picture name,
  // saves a picture of the box as it stands on the screen first.
  static MessageBoxSeen ClickAndAnswer(const RunningForm& program, const CommandCase& command,
                                       const wchar_t* picture = nullptr) {
    HWND button = program.Button(command.caption);
    EXPECT_NE(button, nullptr) << "no button for the command";
    if (button == nullptr) return {};
    RunningForm::Click(button);
    MessageBoxSeen box = program.WaitForMessageBox();
    EXPECT_NE(box.window, nullptr) << "no message box after the click";
    if (box.window != nullptr) {
      if (picture != nullptr) SaveBoxPicture(box.window, picture);
      EXPECT_TRUE(AnswerMessageBox(box)) << "the box did not close";
    }
    return box;
  }

  // The box of the other process, once it has had time to paint.
  static void SaveBoxPicture(HWND box, const wchar_t* name) {
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(kPaintMs);
    RECT area{};
    GetWindowRect(box, &area);
    EXPECT_FALSE(testing_support::SaveScreenPicture(area, name).empty());
  }

  InlineImagesValueKeeper keeper_;
  // Neither a Group Policy nor an altered Internet Options box, unless a test sets one.
  InlineImagesPolicyValue noPolicy_{std::nullopt};
  PictureBoxMappingValue noChecked_{L"CheckedValue", std::nullopt};
  PictureBoxMappingValue noUnchecked_{L"UncheckedValue", std::nullopt};
};

TEST_F(InlineImageCommands, EachCommandSetsTheValueAndSaysSo) {
  ASSERT_TRUE(SetInlineImagesValue(std::nullopt));  // a prefix where the value was never set
  RunningForm program;
  ASSERT_NE(program.form(), nullptr);

  for (const CommandCase* command : {&kShow, &kHide, &kShow}) {
    SCOPED_TRACE(testing::Message()
                 << "command setting "
                 << std::string(command->value, command->value + wcslen(command->value)));
    const MessageBoxSeen box = ClickAndAnswer(
        program, *command, command == &kShow ? L"box_show_success.bmp" : L"box_hide_success.bmp");
    EXPECT_EQ(box.title, kTitle);
    EXPECT_EQ(box.text, command->successText);
    EXPECT_EQ(InlineImagesValue(), std::wstring(command->value));
    EXPECT_TRUE(PayloadFilesLeft(command->fileName).empty());
    EXPECT_TRUE(IsWindowEnabled(program.form()));
  }
  EXPECT_TRUE(program.Close()) << "the program did not end cleanly";
}

TEST_F(InlineImageCommands, TabToTheHideCommandAndEnterHidesThePictures) {
  ASSERT_TRUE(SetInlineImagesValue(std::wstring(kHide.opposite)));
  RunningForm program;
  ASSERT_NE(program.form(), nullptr);
  const DWORD thread = GetWindowThreadProcessId(program.form(), nullptr);
  auto focus = [thread] {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
  };
  ASSERT_TRUE(
      testing_support::WaitUntil([&] { return focus() == program.Button(kShow.caption); }, 20000));
  ASSERT_EQ(GetForegroundWindow(), program.form()) << "the keys would go elsewhere";
  testing_support::PressKey(VK_TAB);
  ASSERT_TRUE(
      testing_support::WaitUntil([&] { return focus() == program.Button(kHide.caption); }, 20000));
  testing_support::PressKey(VK_RETURN);

  const MessageBoxSeen box = program.WaitForMessageBox();
  ASSERT_NE(box.window, nullptr) << "Enter did not press the focused command";
  EXPECT_EQ(box.text, kHide.successText);
  EXPECT_EQ(InlineImagesValue(), std::wstring(kHide.value));
  EXPECT_TRUE(AnswerMessageBox(box));
  EXPECT_TRUE(program.Close());
}

TEST_F(InlineImageCommands, AFileAtThePayloadsNameIsNeitherImportedNorTouched) {
  // A hidden, system, read-only file under the payload's own name, holding the opposite setting
  // and a longer tail: imported as it is, it would set the wrong value.
  RunningForm program;
  ASSERT_NE(program.form(), nullptr);
  for (const CommandCase* command : {&kShow, &kHide}) {
    ASSERT_TRUE(SetInlineImagesValue(std::wstring(command->opposite)));
    const std::wstring leftover = TempDirectory() + command->fileName;
    const payload_tests::Bytes stale =
        ExpectedPayload(std::wstring(command->opposite) + L"\"\r\n\"Stale\"=\"tail");
    ASSERT_TRUE(payload_tests::WriteFileBytes(leftover, stale));
    constexpr DWORD kMarks =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
    ASSERT_TRUE(SetFileAttributesW(leftover.c_str(), kMarks));

    const MessageBoxSeen box = ClickAndAnswer(program, *command);
    EXPECT_EQ(box.text, command->successText);
    EXPECT_EQ(InlineImagesValue(), std::wstring(command->value));
    EXPECT_EQ(PayloadFilesLeft(command->fileName), std::vector<std::wstring>{leftover});
    EXPECT_EQ(payload_tests::ReadFileBytes(leftover), stale);
    EXPECT_EQ(GetFileAttributesW(leftover.c_str()) & kMarks, kMarks);
  }
}

// Where the registry editor does not import (a stand-in that imports nothing, no editor at all,
// or a policy that blocks it outright, when it is not even started), the click and /hide set the
// value directly; the box names the policy that disables the editor exactly when the policy value
// is set.
TEST_F(InlineImageCommands, WhereTheEditorDoesNotImportTheValueIsSetDirectly) {
  struct Case {
    EditorStandIn::Mode editor;
    std::optional<unsigned long> policy;
  };
  for (const Case& c :
       {Case{EditorStandIn::Mode::kExitAtOnce, std::nullopt},
        Case{EditorStandIn::Mode::kExitAtOnce, 1}, Case{EditorStandIn::Mode::kMissing, 2}}) {
    SCOPED_TRACE(testing::Message()
                 << "missing editor " << (c.editor == EditorStandIn::Mode::kMissing) << ", policy "
                 << c.policy.value_or(0));
    EditorStandIn standIn(c.editor);
    ASSERT_TRUE(standIn.installed());
    RegistryToolsPolicy policy(c.policy);
    const std::wstring policySentence = c.policy ? std::wstring(L"\n") + kPolicySentence : L"";
    {
      RunningForm program;
      ASSERT_NE(program.form(), nullptr);
      size_t starts = 0;
      for (const CommandCase* command : {&kShow, &kHide}) {
        ASSERT_TRUE(SetInlineImagesValue(std::wstring(command->opposite)));
        const MessageBoxSeen box =
            ClickAndAnswer(program, *command, c.policy == 1u ? L"box_policy.bmp" : nullptr);
        EXPECT_EQ(box.title, kTitle);
        EXPECT_EQ(box.text, command->successText + policySentence);
        EXPECT_EQ(InlineImagesValue(), std::wstring(command->value));
        EXPECT_TRUE(PayloadFilesLeft(command->fileName).empty());
        if (c.editor == EditorStandIn::Mode::kMissing) continue;
        // The editor got silent mode and the payload file in the temporary directory, which
        // held exactly the payload when it looked.
        const auto all = standIn.Starts();
        if (c.policy == 1u) {
          EXPECT_TRUE(all.empty()) << "an editor that the policy blocks was started";
          continue;
        }
        ASSERT_EQ(all.size(), ++starts);
        ASSERT_EQ(all.back().size(), 2u);
        const std::wstring& given = all.back()[1];
        EXPECT_EQ(all.back()[0], L"/s");
        EXPECT_EQ(given.rfind(TempDirectory(), 0), 0u);
        EXPECT_NE(given, TempDirectory() + command->fileName) << "a name known in advance";
        EXPECT_EQ(GetFileAttributesW(given.c_str()), INVALID_FILE_ATTRIBUTES) << "not deleted";
        EXPECT_EQ(standIn.LastImportFile(), ExpectedPayload(command->value));
        EXPECT_EQ(standIn.OverwroteImportFile(), false) << "the import file could be changed";
      }
    }
    ASSERT_TRUE(SetInlineImagesValue(std::wstring(L"yes")));
    const payload_tests::SwitchRun hide = RunWithSwitch(L"/hide");
    EXPECT_EQ(hide.exitCode, 0u);
    EXPECT_EQ(InlineImagesValue(), std::wstring(L"no"));
    // The switch's line carries the same sentence, in the encoding of this test's console (which
    // the program borrows) or, without one, of the system.
    const std::wstring line =
        kHide.successText + (c.policy ? std::wstring(kPolicySentence) : L"") + L"\r\n";
    EXPECT_EQ(hide.output, app::EncodeOutputLine(line, GetConsoleOutputCP()));
    if (c.policy == 1u) {
      EXPECT_TRUE(standIn.Starts().empty());
    }
  }
}

// Where neither way can change the value (the key denies all access), the click says so and
// /show ends with 1.
TEST_F(InlineImageCommands, WhereNothingCanChangeTheValueTheFailureIsReported) {
  ASSERT_TRUE(SetInlineImagesValue(std::wstring(L"no")));
  {
    LockedInlineImagesKey locked;
    ASSERT_TRUE(locked.locked());
    RunningForm program;
    ASSERT_NE(program.form(), nullptr);
    const MessageBoxSeen box = ClickAndAnswer(program, kShow, L"box_show_failure.bmp");
    EXPECT_EQ(box.text.rfind(kShow.failureStart, 0), 0u) << "unexpected failure text";
    EXPECT_EQ(RunWithSwitch(L"/show").exitCode, 1u);
  }
  EXPECT_EQ(InlineImagesValue(), std::wstring(L"no"));
}

// Where the policy is, as every sentence about it says.
const std::wstring kPolicyPlace =
    L"（该策略位于组策略的“用户配置 → 管理模板 → Windows 组件 → Internet Explorer”下，"
    L"管理 Internet 选项中的“显示图片”）";

// A Group Policy that holds the setting ("no", then "yes"): neither the click nor the switch
// changes the user's value or starts the editor; the box and the switch's line say that the policy
// holds the setting and to what, and what to do next; the exit codes are those of the usage, and
// /status says the same as the box.
TEST_F(InlineImageCommands, UnderAGroupPolicyNothingChangesAndTheResultSaysWhy) {
  struct Case {
    const wchar_t* policy;
    const CommandCase* command;
    const wchar_t* commandSwitch;
    std::wstring text;
    unsigned long exitCode;
  };
  const std::wstring unchanged = L"，本程序未做任何更改。";
  const Case cases[] = {
      {L"no", &kShow, L"/show",
       L"内嵌图片由组策略管理，组策略将其设为关闭状态" + kPolicyPlace + unchanged +
           L"如需显示内嵌图片，请与本机的管理员联系。",
       3},
      {L"no", &kHide, L"/hide", L"内嵌图片已由组策略设为关闭状态" + kPolicyPlace + unchanged, 3},
      {L"yes", &kShow, L"/show", L"内嵌图片已由组策略设为显示状态" + kPolicyPlace + unchanged, 0},
      {L"yes", &kHide, L"/hide",
       L"内嵌图片由组策略管理，组策略将其设为显示状态" + kPolicyPlace + unchanged +
           L"如需关闭内嵌图片，请与本机的管理员联系。",
       3},
  };
  EditorStandIn standIn(EditorStandIn::Mode::kExitAtOnce);
  ASSERT_TRUE(standIn.installed());
  RunningForm program;
  ASSERT_NE(program.form(), nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "policy " << testing::PrintToString(c.policy) << ", "
                                    << testing::PrintToString(c.commandSwitch));
    const InlineImagesPolicyValue policy(std::wstring(c.policy));
    // The user's own value, which decides nothing under the policy, is left as it is.
    const std::wstring own = c.command->opposite;
    ASSERT_TRUE(SetInlineImagesValue(own));
    const MessageBoxSeen box = ClickAndAnswer(
        program, *c.command,
        c.exitCode == 3 && c.command == &kShow ? L"box_show_group_policy.bmp" : nullptr);
    EXPECT_EQ(box.title, kTitle);
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(InlineImagesValue(), own);

    const payload_tests::SwitchRun run = RunWithSwitch(c.commandSwitch);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.output, app::EncodeOutputLine(c.text + L"\r\n", GetConsoleOutputCP()));
    EXPECT_EQ(InlineImagesValue(), own);
    EXPECT_TRUE(standIn.Starts().empty()) << "the registry editor was started";
    EXPECT_TRUE(PayloadFilesLeft(c.command->fileName).empty());

    const payload_tests::SwitchRun status = RunWithSwitch(L"/status");
    const bool shown = std::wstring(c.policy) == L"yes";
    EXPECT_EQ(status.exitCode, shown ? 0u : 3u);
    const std::wstring statusText =
        std::wstring(shown ? L"内嵌图片由组策略设为显示状态" : L"内嵌图片由组策略设为关闭状态") +
        kPolicyPlace + L"，只有本机的管理员可以更改。";
    EXPECT_EQ(status.output, app::EncodeOutputLine(statusText + L"\r\n", GetConsoleOutputCP()));
  }
  EXPECT_TRUE(program.Close());
}

// An Internet Options box whose mapping was rewritten, as scraping scripts do: the repair works
// and says that ticking the box will turn pictures off again; so does /status. Its own strings
// standing there, in any case, say nothing.
TEST_F(InlineImageCommands, AnAlteredInternetOptionsBoxIsToldAfterTheRepair) {
  const std::wstring altered =
      L"注意：Internet 选项中的“显示图片”选项已被改动，勾选它会再次关闭内嵌图片。";
  struct Case {
    const wchar_t* checked;
    const wchar_t* unchecked;
    std::wstring sentence;
  };
  for (const Case& c : {Case{L"no", L"no", altered}, Case{L"YES", L"No", L""}}) {
    SCOPED_TRACE(testing::PrintToString(c.checked));
    const PictureBoxMappingValue checked(L"CheckedValue", std::wstring(c.checked));
    const PictureBoxMappingValue unchecked(L"UncheckedValue", std::wstring(c.unchecked));
    ASSERT_TRUE(SetInlineImagesValue(std::wstring(kShow.opposite)));
    {
      RunningForm program;
      ASSERT_NE(program.form(), nullptr);
      const MessageBoxSeen box = ClickAndAnswer(
          program, kShow, c.sentence.empty() ? nullptr : L"box_show_altered_box.bmp");
      EXPECT_EQ(box.text, kShow.successText + (c.sentence.empty() ? L"" : L"\n" + c.sentence));
      EXPECT_EQ(InlineImagesValue(), std::wstring(kShow.value));
      EXPECT_TRUE(program.Close());
    }
    const payload_tests::SwitchRun status = RunWithSwitch(L"/status");
    EXPECT_EQ(status.exitCode, 0u);
    EXPECT_EQ(status.output,
              app::EncodeOutputLine(L"内嵌图片当前为显示状态。" + c.sentence + L"\r\n",
                                    GetConsoleOutputCP()));
  }
}

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
  EXPECT_NE(SendMessageTimeoutW(program.form(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result), 0)
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

// Writes a file of the payload's text, last written `age` ago; false when that fails.
bool WriteFileOfAge(const std::wstring& path, ULONGLONG ageMs) {
  if (!WriteFileBytes(path, ExpectedPayload(L"yes"))) return false;
  const win::KernelHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                                           nullptr, OPEN_EXISTING, 0, nullptr));
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
  time.QuadPart -= ageMs * 10000;
  const FILETIME written{time.LowPart, time.HighPart};
  return file && SetFileTime(file.get(), nullptr, nullptr, &written);
}

// Import files left by runs that were killed an hour ago go at the next repair, unless another
// process holds one open. A file of another name stays, and so does one written just now: a copy
// running at the same moment may be between writing its file and holding it. Eight copies started
// at once all succeed.
TEST_F(InlineImageCommands, FilesLeftByEarlierRunsGoAtTheNextRepair) {
  constexpr ULONGLONG kHourMs = 60 * 60 * 1000;
  const std::wstring directory = TempDirectory();
  const std::wstring left[] = {directory + L"Ykvo-0123abcd.reg", directory + L"nkvo-89ABCDEF.REG"};
  const std::wstring held = directory + L"Nkvo-00c0ffee.reg";
  const std::wstring stay[] = {held, directory + L"Ykvo-0123abcg.reg",
                               directory + L"Ykvo-0123abcd0.reg", directory + L"Nkvo-4567cdef.reg"};
  for (const std::wstring& path : left) ASSERT_TRUE(WriteFileOfAge(path, kHourMs));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(WriteFileOfAge(stay[i], kHourMs));
  ASSERT_TRUE(WriteFileOfAge(stay[3], 0));
  const win::KernelHandle holder(
      CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);

  constexpr int kCopies = 8;
  std::vector<std::unique_ptr<SwitchProcess>> copies;
  for (int i = 0; i < kCopies; ++i) {
    copies.push_back(
        std::make_unique<SwitchProcess>(L"/show", testing_support::StandardOutput::kPipe));
  }
  for (const auto& copy : copies) EXPECT_EQ(copy->Finish().exitCode, 0u);
  for (const std::wstring& path : left) {
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << "left: " << path;
  }
  for (const std::wstring& path : stay) {
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << "gone: " << path;
  }
  EXPECT_EQ(PayloadFilesLeft(kShow.fileName).size(), 2u) << "a copy left its own file behind";
}

}  // namespace
