// The two repair commands where something else holds the setting: a Group Policy, or an
// Internet Options box whose mapping was rewritten.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/switches/command_line.h"
#include "tests/app/repair/editor_stand_in.h"
#include "tests/app/repair/inline_image_commands_fixture.h"

namespace {

using payload_tests::CommandCase;
using payload_tests::EditorStandIn;
using payload_tests::InlineImageCommands;
using payload_tests::InlineImagesPolicyValue;
using payload_tests::InlineImagesValue;
using payload_tests::kHide;
using payload_tests::kShow;
using payload_tests::kTitle;
using payload_tests::PayloadFilesLeft;
using payload_tests::PictureBoxMappingValue;
using payload_tests::RunningForm;
using payload_tests::RunWithSwitch;
using payload_tests::SetInlineImagesValue;
using testing_support::MessageBoxSeen;

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

}  // namespace
