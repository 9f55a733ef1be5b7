// The sentences the program adds, as a Chinese Windows user reads them: the ones whose words
// matter compared whole, in one table, and the glossary's rules (docs/glossary.md) checked over
// every one of them, whatever its wording.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/repair/inline_image_commands.h"
#include "app/repair/inline_images_status.h"
#include "app/switches/command_line.h"
#include "app/system/forum_link.h"
#include "app/system/session_users.h"
#include "tests/support/payload_text.h"
#include "tests/support/session_accounts.h"
#include "tests/support/test_paths.h"

namespace {

// An administrator helps over the shoulder as the helper; the shell is the signed-in user's, or
// its owner could not be read; or a deployment tool runs the program as SYSTEM.
const app::SessionUsers kHelperBesideSignedIn = testing_support::HelperBesideSignedIn();
const app::SessionUsers kHelperBesideHiddenShell = testing_support::HelperBesideHiddenShell();
const app::SessionUsers kSignedInAlone = {testing_support::kSignedIn, app::ShellOwner::kKnown,
                                          testing_support::kSignedIn};
const app::SessionUsers kSystemWithoutShell = testing_support::SystemWithoutShell();

const app::InlineImagesSetting kShownSetting = {app::InlineImagesState::kShown};

// A command's report where the policy disables the registry editor.
std::wstring PolicyReport(bool holds) {
  app::InlineImagesOutcome outcome;
  outcome.holds = holds;
  outcome.editorDisabledByPolicy = true;
  return app::InlineImagesReport(app::kShowCommand, outcome, L"\n");
}

const app::InlineImagesSetting kHiddenSetting = {app::InlineImagesState::kHidden};
constexpr app::InlineImagesPolicy kPolicyHides = app::InlineImagesPolicy::kHidden;
constexpr app::InlineImagesPolicy kPolicyShows = app::InlineImagesPolicy::kShown;

// A command's report under a Group Policy that holds the setting.
std::wstring GroupPolicyReport(const app::InlineImageCommand& command,
                               app::InlineImagesPolicy policy) {
  app::InlineImagesOutcome outcome;
  outcome.policy = policy;
  outcome.mapping = app::PictureBoxMapping::kTickingHides;  // greyed out under a policy: not told
  return app::InlineImagesReport(command, outcome, L"\n");
}

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::wstring UsageLineOf(const wchar_t* switchName) {
  for (const std::wstring& line : Lines(app::UsageText())) {
    if (line.find(std::wstring(L"Morvane ") + switchName + L" ") != std::wstring::npos) return line;
  }
  return {};
}

struct Sentence {
  const char* what;
  std::wstring actual;
  std::wstring expected;
};

// Where the words themselves are the point: what the exit codes are and when a change takes
// effect, that a failed read-back claims no more than it knows and gives the way that remains, the
// policy as the Group Policy editor names it, the account notices with their "if" and both names,
// and the notes that tell what to do about what they report.
TEST(UserText, SentencesWhoseWordsMatter) {
  const Sentence sentences[] = {
      // The usage, as README.txt says it from the same lines: its first line names every switch
      // that has a line, and what /status returns.
      {"usage, first line", Lines(app::UsageText()).front(),
       L"用法：Morvane [/show | /hide | /status | /?]"},
      {"usage, /show", UsageLineOf(L"/show"),
       L"  Morvane /show    将内嵌图片设为显示状态，成功时退出码为 0，否则为 1。"
       L"在主窗口中单击“刷新后马上生效”，或注销后重新登录，设置即可生效。"
       L"内嵌图片由组策略管理时不做任何更改，组策略将其设为显示状态时退出码为 0，否则为 3。"},
      {"usage, /status", UsageLineOf(L"/status"),
       L"  Morvane /status  只查看，不更改。内嵌图片为显示状态时退出码为 0，"
       L"由组策略设为关闭状态时为 3，其他情况（包括无法判断）为 1。"},
      {"usage, /hide", UsageLineOf(L"/hide"),
       L"  Morvane /hide    将内嵌图片设为关闭状态，成功时退出码为 0，否则为 1。"
       L"在主窗口中单击“刷新后马上生效”，或注销后重新登录，设置即可生效。"
       L"内嵌图片由组策略管理时不做任何更改，退出码为 3。"},
      {"usage, another account", Lines(app::UsageText()).back(),
       L"  以当前登录的用户以外的账户（例如 SYSTEM）运行时：不做任何更改，说明是谁的设置，"
       L"退出码为 4。"},
      {"usage, /?", UsageLineOf(L"/?"), L"  Morvane /?       显示此用法说明，退出码为 0。"},
      {"Windows 7 without the update", Lines(app::StatusReport(L"", false)).back(),
       L"注意：此系统未安装更新 KB2533623（或取代它的更新），"
       L"Windows 7 SP1 需要此更新才能阻止系统从本程序所在的文件夹加载 DLL。"
       L"未安装时，放在本程序旁边的 DLL 可能被加载，这是一个安全风险。"
       L"请通过 Windows Update 安装此更新。"},
      // Under a Group Policy: what holds the setting, where it is, and who can change it.
      {"show under a policy that hides", GroupPolicyReport(app::kShowCommand, kPolicyHides),
       L"内嵌图片由组策略管理，组策略将其设为关闭状态（该策略位于组策略的“用户配置 → 管理模板 → "
       L"Windows 组件 → Internet Explorer”下，管理 Internet 选项中的“显示图片”），"
       L"本程序未做任何更改。如需显示内嵌图片，请与本机的管理员联系。"},
      {"status under a policy that shows, other account",
       app::InlineImagesStatusText({kHiddenSetting, kPolicyShows}, kHelperBesideSignedIn),
       L"内嵌图片由组策略设为显示状态（该策略位于组策略的“用户配置 → 管理模板 → "
       L"Windows 组件 → Internet Explorer”下，管理 Internet 选项中的“显示图片”），"
       L"只有本机的管理员可以更改。这是本程序运行所用的账户“PC\\helper”的设置，"
       L"而不是当前登录的用户“PC\\signed-in”的设置。"},
      // An altered Internet Options box: a note after the user's value.
      {"status, altered box",
       app::InlineImagesStatusText(
           {kShownSetting, app::InlineImagesPolicy::kNone, app::PictureBoxMapping::kTickingHides},
           kSignedInAlone),
       L"内嵌图片当前为显示状态。注意：Internet 选项中的“显示图片”选项已被改动，"
       L"勾选它会再次关闭内嵌图片。"},
      // The repair's results.
      {"show fails", app::kShowCommand.failureText,
       L"“显示内嵌图片”设置失败：未能确认内嵌图片已设为显示状态。请稍后重试；如果仍然失败，请在"
       L"“控制面板 → 网络和 Internet → Internet 选项 → 高级 → 多媒体”中选中“显示图片”复选框。"},
      {"hide fails", app::kHideCommand.failureText,
       L"“关闭内嵌图片”设置失败：未能确认内嵌图片已设为关闭状态。请稍后重试；如果仍然失败，请在"
       L"“控制面板 → 网络和 Internet → Internet 选项 → 高级 → 多媒体”中清除“显示图片”复选框。"},
      {"policy", PolicyReport(true),
       L"“显示内嵌图片”设置成功，刷新后即可生效！\n"
       L"注意：注册表编辑器已被组策略“阻止访问注册表编辑工具”禁用（位于“用户配置 → 管理模板 → "
       L"系统”，注册表值 DisableRegistryTools）。此策略可能由管理员设置，也可能由恶意软件设置；"
       L"如果本机的管理员未设置此策略，请用防病毒软件检查本机。"},
      // A value the program did not write: either command puts it right.
      {"status, foreign value",
       app::InlineImagesStatusText(app::ClassifyInlineImagesValue(ERROR_SUCCESS, REG_SZ, L"maybe")),
       L"“Display Inline Images”当前的值为“maybe”，既不是 yes 也不是 no。"
       L"使用“显示内嵌图片”或“关闭内嵌图片”都可以将它改为有效的值。"},
      {"status, not a string",
       app::InlineImagesStatusText(app::ClassifyInlineImagesValue(ERROR_SUCCESS, REG_DWORD, L"")),
       L"“Display Inline Images”的值不是字符串，无法判断内嵌图片当前是否显示。"
       L"使用“显示内嵌图片”或“关闭内嵌图片”都可以将它改为有效的值。"},
      // Run as another account: what would change, and for whom.
      {"other account, repair", app::OtherUserSettingNotice(kHelperBesideSignedIn),
       L"本程序正以账户“PC\\helper”的身份运行，而当前登录的用户是“PC\\signed-in”。"
       L"如果在这里更改内嵌图片，更改的将是账户“PC\\helper”的设置，"
       L"而不是当前登录的用户“PC\\signed-in”的设置，因此本程序未做任何更改。"
       L"请由当前登录的用户直接运行本程序，不要用其他账户“以管理员身份运行”。"},
      {"other account, repair, shell's owner hidden",
       app::OtherUserSettingNotice(kHelperBesideHiddenShell),
       L"本程序正以账户“PC\\helper”的身份运行，而当前登录的是另一个账户。"
       L"如果在这里更改内嵌图片，更改的将是账户“PC\\helper”的设置，"
       L"而不是当前登录的用户的设置，因此本程序未做任何更改。"
       L"请由当前登录的用户直接运行本程序，不要用其他账户“以管理员身份运行”。"},
      {"SYSTEM, repair", app::OtherUserSettingNotice(kSystemWithoutShell),
       L"本程序正以账户“NT AUTHORITY\\SYSTEM”的身份运行，这是系统的服务账户，不是当前登录的用户。"
       L"如果在这里更改内嵌图片，更改的将是账户“NT AUTHORITY\\SYSTEM”的设置，"
       L"而不是当前登录的用户的设置，因此本程序未做任何更改。"
       L"请在部署工具中选择以当前登录的用户的身份运行本程序。"},
      {"other account, refresh", app::OtherUserRestartNotice(kHelperBesideSignedIn),
       L"本程序正以账户“PC\\helper”的身份运行，而当前登录的用户是“PC\\signed-in”。"
       L"本程序不会重新启动其他账户的资源管理器，因此未刷新。"
       L"请由当前登录的用户直接运行本程序，再单击“刷新后马上生效”。"},
      // The link, elevated, when the desktop's shell could not open it either.
      {"forum not opened, not elevated", app::ForumNotOpenedText(false),
       L"Windows 未能打开论坛。\n\n请打开浏览器，在地址栏中输入 " + app::ForumPageAddress() +
           L" 并按 Enter 键。"},
      {"forum not opened", app::ForumNotOpenedText(true),
       L"未能打开论坛。本程序正以管理员权限运行（例如通过“以管理员身份运行”启动），"
       L"为安全起见，它不以此权限打开浏览器，而是请资源管理器以当前登录的用户身份打开论坛，"
       L"但未成功。\n\n请打开浏览器，在地址栏中输入 " +
           app::ForumPageAddress() + L" 并按 Enter 键。"},
      // Whose setting the tooltip and /status describe.
      {"status, other account", app::InlineImagesStatusText(kShownSetting, kHelperBesideSignedIn),
       L"内嵌图片当前为显示状态。这是本程序运行所用的账户“PC\\helper”的设置，"
       L"而不是当前登录的用户“PC\\signed-in”的设置。"},
      {"status, other account, shell's owner hidden",
       app::InlineImagesStatusText(kShownSetting, kHelperBesideHiddenShell),
       L"内嵌图片当前为显示状态。这是本程序运行所用的账户“PC\\helper”的设置，"
       L"而不是当前登录的用户的设置。"},
      {"status, own account", app::InlineImagesStatusText(kShownSetting, kSignedInAlone),
       L"内嵌图片当前为显示状态。"},
  };
  for (const Sentence& sentence : sentences) {
    EXPECT_EQ(sentence.actual, sentence.expected) << sentence.what;
  }
}

bool IsHan(wchar_t c) { return c >= 0x4E00 && c <= 0x9FFF; }
bool IsLatinOrDigit(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
}

// What breaks the glossary's typographic and wording rules in text, or empty. A label of Windows
// quoted in “” keeps its own half-width punctuation (Task Manager's “新建任务(运行...)”).
std::wstring GlossaryFault(const std::wstring& text, bool successMessage) {
  bool quoted = false;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    const wchar_t a = text[i], b = text[i + 1];
    if (a == L'“') quoted = true;
    if (a == L'”') quoted = false;
    if ((IsHan(a) && IsLatinOrDigit(b)) || (IsLatinOrDigit(a) && IsHan(b))) {
      return L"no space between Chinese and Latin: " + text.substr(i, 2);
    }
    const std::wstring halfWidth = L",.;:!?()";
    if (!quoted && ((IsHan(a) && halfWidth.find(b) != std::wstring::npos) ||
                    (halfWidth.find(a) != std::wstring::npos && IsHan(b)))) {
      return L"half-width punctuation beside Chinese: " + text.substr(i, 2);
    }
  }
  if (!successMessage && text.find(L'！') != std::wstring::npos) return L"！ outside a success";
  // Words that Windows does not use for the thing: a click is 单击, the key is the Enter key,
  // the software is 防病毒软件, an account is 账户, and an error says 因此.
  for (const wchar_t* word : {L"没有", L"结束桌面", L"外壳", L"别人", L"桌面（资源管理器）",
                              L"点击", L"回车", L"杀毒软件", L"其他用户", L"所以", L"本会话"}) {
    if (text.find(word) != std::wstring::npos) return std::wstring(L"not a glossary word: ") + word;
  }
  return {};
}

// Every added sentence, in every variant the program can put together.
TEST(UserText, EverySentenceFollowsTheGlossary) {
  std::vector<std::wstring> sentences = Lines(app::UsageText());
  sentences.push_back(Lines(app::StatusReport(L"", false)).back());  // the KB2533623 note
  for (const app::InlineImageCommand* command : {&app::kShowCommand, &app::kHideCommand}) {
    sentences.push_back(command->failureText);
  }
  sentences.push_back(PolicyReport(false));
  for (const app::InlineImageCommand* command : {&app::kShowCommand, &app::kHideCommand}) {
    for (const app::InlineImagesPolicy policy : {kPolicyHides, kPolicyShows}) {
      sentences.push_back(GroupPolicyReport(*command, policy));
    }
  }
  for (const app::PictureBoxMapping mapping :
       {app::PictureBoxMapping::kTickingHides, app::PictureBoxMapping::kClearingShows}) {
    sentences.push_back(app::PictureBoxSentence(mapping));
  }
  sentences.push_back(app::ForumNotOpenedText(false));
  sentences.push_back(app::ForumNotOpenedText(true));
  for (const app::SessionUsers& users :
       {kHelperBesideSignedIn, kHelperBesideHiddenShell, kSystemWithoutShell}) {
    sentences.push_back(app::OtherUserSettingNotice(users));
    sentences.push_back(app::OtherUserRestartNotice(users));
    for (const app::InlineImagesSetting& setting :
         {kShownSetting, app::ClassifyInlineImagesValue(ERROR_SUCCESS, REG_SZ, L"no"),
          app::ClassifyInlineImagesValue(ERROR_SUCCESS, REG_SZ, L"maybe"),
          app::ClassifyInlineImagesValue(ERROR_SUCCESS, REG_DWORD, L""),
          app::ClassifyInlineImagesValue(ERROR_ACCESS_DENIED, 0, L""),
          app::ClassifyInlineImagesValue(ERROR_INVALID_HANDLE, 0, L"")}) {
      sentences.push_back(app::InlineImagesStatusText(setting, users));
    }
    for (const app::InlineImagesPolicy policy : {kPolicyHides, kPolicyShows}) {
      sentences.push_back(app::InlineImagesStatusText({kShownSetting, policy}, users));
    }
  }
  for (const std::wstring& sentence : sentences) {
    EXPECT_EQ(GlossaryFault(sentence, false), L"") << testing::PrintToString(sentence);
  }
  for (const app::InlineImageCommand* command : {&app::kShowCommand, &app::kHideCommand}) {
    EXPECT_EQ(GlossaryFault(command->successText, true), L"");
  }
  // The rules catch what they are meant to.
  EXPECT_NE(GlossaryFault(L"IE网页", false), L"");
  EXPECT_NE(GlossaryFault(L"退出码为0", false), L"");
  EXPECT_NE(GlossaryFault(L"失败,请重试", false), L"");
  EXPECT_NE(GlossaryFault(L"失败！", false), L"");
  EXPECT_NE(GlossaryFault(L"没有刷新", false), L"");
  EXPECT_NE(GlossaryFault(L"再点击“说明”", false), L"");
  EXPECT_NE(GlossaryFault(L"按回车", false), L"");
  EXPECT_NE(GlossaryFault(L"失败(请重试)“新建任务”", false), L"") << "outside the quotes";
  EXPECT_EQ(GlossaryFault(L"单击“新建任务(运行...)”。", false), L"") << "a quoted Windows label";
}

// The download's README.txt, as the release writes it, follows the same rules line by line.
TEST(UserText, TheDownloadsReadmeFollowsTheGlossary) {
  const payload_tests::Bytes bytes =
      payload_tests::ReadFileBytes(testing_support::ReleaseReadmePath());
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<size_t>(MultiByteToWideChar(
      CP_UTF8, 0, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()),
      text.data(), static_cast<int>(text.size()))));
  ASSERT_FALSE(text.empty());
  size_t start = 0;
  for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
    const std::wstring line = text.substr(start, end - start);
    EXPECT_EQ(GlossaryFault(line, false), L"") << testing::PrintToString(line);
  }
  for (const wchar_t* part :
       {L"Internet 选项 → 高级 → 多媒体 → 显示图片", L"Windows 7 SP1", L"start /wait",
        L"certutil -hashfile Morvane.exe SHA256", L"数字签名", L"重新启动资源管理器",
        L"以管理员身份运行", L"start \"\" /wait \"", L"输入 cmd，按 Enter 键", L"退出码为 4",
        L"Start-Process -Wait -PassThru", L"docs/helpdesk.md"}) {
    EXPECT_NE(text.find(part), std::wstring::npos) << testing::PrintToString(std::wstring(part));
  }
  EXPECT_EQ(text.find(L"Linux"), std::wstring::npos);
}

}  // namespace
