#include "app/repair/inline_image_commands.h"

#include <utility>

#include "app/repair/leftover_payload_files.h"
#include "app/repair/registry_editor.h"
#include "app/system/session_users.h"

namespace app {
namespace {

// Title of every box of the commands: "notice".
constexpr wchar_t kBoxTitle[] = L"提示";

// "Note: the registry editor is disabled by the Group Policy "Prevent access to registry editing
// tools" (User Configuration > Administrative Templates > System; registry value
// DisableRegistryTools). An administrator or malicious software may have set it. If no
// administrator of this computer set it, have the computer checked with antivirus software." The
// policy is named as the Chinese Group Policy editor shows it, so that a technician finds it
// there. It follows a success as well as a failure, so it opens with a lead-in of its own.
constexpr wchar_t kPolicySentence[] =
    L"注意：注册表编辑器已被组策略“阻止访问注册表编辑工具”禁用（位于“用户配置 → 管理模板 → 系统”，"
    L"注册表值 DisableRegistryTools）。此策略可能由管理员设置，也可能由恶意软件设置；"
    L"如果本机的管理员未设置此策略，请用防病毒软件检查本机。";

// Under a Group Policy that holds the other state: "Inline images are managed by Group Policy:
// it holds them turned off <place>. The program changed nothing. To show them, ask the
// administrator of this computer." (and the same for shown). Under one that already holds what
// was asked: "Inline images are already shown by Group Policy <place>; the program changed
// nothing."
constexpr wchar_t kManagedBefore[] = L"内嵌图片由组策略管理，组策略将其设为";
constexpr wchar_t kManagedAfter[] = L"，本程序未做任何更改。";
constexpr wchar_t kAskToShow[] = L"如需显示内嵌图片，请与本机的管理员联系。";
constexpr wchar_t kAskToHide[] = L"如需关闭内嵌图片，请与本机的管理员联系。";
constexpr wchar_t kAlreadyBefore[] = L"内嵌图片已由组策略设为";
constexpr wchar_t kShownState[] = L"显示状态";
constexpr wchar_t kHiddenState[] = L"关闭状态";

bool ShowsPictures(const RegistryPayload& payload) {
  return payload.resourceId == kShowInlineImages.resourceId;
}

// True when the policy holds what the payload sets.
bool PolicyHolds(InlineImagesPolicy policy, const RegistryPayload& payload) {
  return (policy == InlineImagesPolicy::kShown) == ShowsPictures(payload);
}

// The sentence for a command that a policy holds the setting of.
std::wstring PolicyReport(const RegistryPayload& asked, InlineImagesPolicy policy) {
  const bool shown = policy == InlineImagesPolicy::kShown;
  const std::wstring state = shown ? kShownState : kHiddenState;
  if (PolicyHolds(policy, asked)) {
    return kAlreadyBefore + state + InlineImagesPolicyPlace() + kManagedAfter;
  }
  return kManagedBefore + state + InlineImagesPolicyPlace() + kManagedAfter +
         (shown ? kAskToHide : kAskToShow);
}

bool ValueHolds(const RegistryPayload& payload) {
  std::wstring value;
  return ReadInlineImagesValue(&value) && value == payload.value;
}

// Writes the payload to an import file of this run's own, lets the registry editor import it
// and removes the file. True when the editor was given the file and the value now holds what
// the payload sets: the editor's silent mode reports nothing, so the value read back is the
// proof.
bool ImportThroughEditor(HWND owner, const RegistryPayload& payload) {
  const ResourceBytes bytes = LoadPayloadBytes(GetModuleHandleW(nullptr), payload.resourceId);
  bool started = false;
  {
    // Nobody can change the file until the editor has ended or been ended; it is deleted then.
    const PayloadFile file(payload.fileName, bytes);
    started = file && RunRegistryEditor(owner, file.path(), kRegistryEditorTimeoutMs) !=
                          EditorOutcome::kNotStarted;
  }
  return started && ValueHolds(payload);
}

}  // namespace

// "The setting to show inline images was made; it takes effect after a refresh." / "Showing
// inline images failed: the program could not confirm that inline images are now shown. Please
// try again later; if it still fails, select the "Show pictures" check box in Control Panel >
// Network and Internet > Internet Options > Advanced > Multimedia." A failed read-back proves
// only that the value does not hold, not that nothing changed, so the failure says no more than
// that; Internet Options' own box writes the same value, the way that remains when the program's
// keeps failing.
const InlineImageCommand kShowCommand{
    kShowInlineImages,
    L"“显示内嵌图片”设置成功，刷新后即可生效！",
    L"“显示内嵌图片”设置失败：未能确认内嵌图片已设为显示状态。请稍后重试；如果仍然失败，请在"
    L"“控制面板 → 网络和 Internet → Internet 选项 → 高级 → 多媒体”中选中“显示图片”复选框。",
};

// "Turning inline images off succeeded; it takes effect after a refresh." / the same failure for
// the hidden state, whose last step clears the check box.
const InlineImageCommand kHideCommand{
    kHideInlineImages,
    L"“关闭内嵌图片”成功，刷新后即可生效！",
    L"“关闭内嵌图片”设置失败：未能确认内嵌图片已设为关闭状态。请稍后重试；如果仍然失败，请在"
    L"“控制面板 → 网络和 Internet → Internet 选项 → 高级 → 多媒体”中清除“显示图片”复选框。",
};

InlineImagesOutcome ApplyInlineImageCommand(HWND owner, const InlineImageCommand& command) {
  InlineImagesOutcome outcome;
  // The change is refused rather than made for the account the program runs as: that account's
  // setting is not what the person signed in sees, and a success there would be reported as
  // theirs. Writing into the signed-in person's hive instead would take administrator rights
  // that the program otherwise never uses.
  const SessionUsers users = SessionUsersOf(GetShellWindow());
  if (!ActsForSignedInUser(users)) {
    outcome.otherUserNotice = OtherUserSettingNotice(users);
    return outcome;
  }
  outcome.mapping = ReadPictureBoxMapping();
  // A Group Policy that holds the setting is left alone, and so is the user's value under it,
  // which decides nothing while the policy is there.
  outcome.policy = ReadInlineImagesPolicy();
  if (outcome.policy != InlineImagesPolicy::kNone) {
    outcome.holds = PolicyHolds(outcome.policy, command.payload);
    return outcome;
  }
  RemoveLeftoverPayloadFiles();
  const EditorPolicy policy = RegistryEditorPolicy();
  outcome.editorDisabledByPolicy = policy != EditorPolicy::kAllowed;
  // An editor that the policy blocks outright is not started: it would only show its own
  // "disabled by your administrator" box beside ours.
  outcome.holds =
      (policy != EditorPolicy::kBlocked && ImportThroughEditor(owner, command.payload)) ||
      (WriteInlineImagesValue(command.payload.value) && ValueHolds(command.payload));
  return outcome;
}

std::wstring InlineImagesReport(const InlineImageCommand& command,
                                const InlineImagesOutcome& outcome, const wchar_t* separator) {
  if (!outcome.otherUserNotice.empty()) return outcome.otherUserNotice;
  // Under a policy, Internet Options' box is greyed out: what it would write does not matter.
  if (outcome.policy != InlineImagesPolicy::kNone) {
    return PolicyReport(command.payload, outcome.policy);
  }
  std::wstring report = outcome.holds ? command.successText : command.failureText;
  if (outcome.editorDisabledByPolicy) report += separator + std::wstring(kPolicySentence);
  const std::wstring mapping = PictureBoxSentence(outcome.mapping);
  if (!mapping.empty()) report += separator + mapping;
  return report;
}

}  // namespace app

namespace app::form1 {
namespace {

// True while a command is at work: the wait for the registry editor and every box dispatch
// messages, and a click that slipped through (or a screen reader's press) must not start another.
bool commandRunning = false;
// True when the window was asked to close while a command was at work.
bool closeRequested = false;

void RunInlineImageCommand(HWND form, const InlineImageCommand& command) {
  const RunningCommand running(form);
  if (!running.started()) return;
  const InlineImagesOutcome outcome = ApplyInlineImageCommand(form, command);
  const std::wstring report = InlineImagesReport(command, outcome, L"\n");
  UINT icon = outcome.holds ? MB_ICONINFORMATION : MB_ICONERROR;
  if (outcome.policy != InlineImagesPolicy::kNone && !outcome.holds) icon = MB_ICONWARNING;
  MessageBoxW(form, report.c_str(), kBoxTitle, MB_OK | icon);
}

}  // namespace

RunningCommand::RunningCommand(HWND form)
    : form_(form), started_(!std::exchange(commandRunning, true)) {}

// A close request that came meanwhile is carried out now, as it would have been at once.
RunningCommand::~RunningCommand() {
  if (!started_) return;
  commandRunning = false;
  if (std::exchange(closeRequested, false) && IsWindow(form_)) SendMessageW(form_, WM_CLOSE, 0, 0);
}

void Command2_Click(HWND form) { RunInlineImageCommand(form, kShowCommand); }

void Command3_Click(HWND form) { RunInlineImageCommand(form, kHideCommand); }

bool CloseAfterRunningCommand(HWND) {
  if (!commandRunning) return false;
  closeRequested = true;
  return true;
}

}  // namespace app::form1
