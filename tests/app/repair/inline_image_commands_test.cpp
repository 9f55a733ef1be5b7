// The two repair commands as a user runs them: the value set and said, the editor started
// or not, and the payload files gone.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/switches/command_line.h"
#include "tests/app/repair/editor_stand_in.h"
#include "tests/app/repair/inline_image_commands_fixture.h"
#include "tests/support/keyboard_input.h"
#include "tests/support/running_program.h"

namespace {

using payload_tests::Bytes;
using payload_tests::CommandCase;
using payload_tests::EditorStandIn;
using payload_tests::ExpectedPayload;
using payload_tests::InlineImageCommands;
using payload_tests::InlineImagesValue;
using payload_tests::kHide;
using payload_tests::kPolicySentence;
using payload_tests::kShow;
using payload_tests::kTitle;
using payload_tests::LockedInlineImagesKey;
using payload_tests::PayloadFilesLeft;
using payload_tests::RegistryToolsPolicy;
using payload_tests::RunningForm;
using payload_tests::RunWithSwitch;
using payload_tests::SetInlineImagesValue;
using payload_tests::SwitchProcess;
using payload_tests::TempDirectory;
using payload_tests::WriteFileBytes;
using testing_support::AnswerMessageBox;
using testing_support::MessageBoxSeen;

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
