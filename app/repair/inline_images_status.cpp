#include "app/repair/inline_images_status.h"

#include <string>

namespace app {
namespace {

// "Inline images are currently shown." / "... currently turned off."
constexpr wchar_t kShownText[] = L"内嵌图片当前为显示状态。";
constexpr wchar_t kHiddenText[] = L"内嵌图片当前为关闭状态。";
// "The value of "Display Inline Images" is now "<value>", neither yes nor no. Either "Show inline
// images" or "Turn inline images off" makes it a valid value again."
constexpr wchar_t kOtherBefore[] = L"“Display Inline Images”当前的值为“";
constexpr wchar_t kOtherAfter[] = L"”，既不是 yes 也不是 no。";
// "The value of "Display Inline Images" is not a string: whether inline images are shown cannot
// be told. Either ... makes it a valid value again."
constexpr wchar_t kWrongTypeText[] =
    L"“Display Inline Images”的值不是字符串，无法判断内嵌图片当前是否显示。";
// Both commands write the value whole, as the string they set, whatever was there before; the
// words name the commands, which are the main window's buttons and the /show and /hide switches.
constexpr wchar_t kEitherCommandMends[] =
    L"使用“显示内嵌图片”或“关闭内嵌图片”都可以将它改为有效的值。";
// "No permission to read "Display Inline Images": ... cannot be told."
constexpr wchar_t kNoAccessText[] =
    L"无权读取“Display Inline Images”的值，无法判断内嵌图片当前是否显示。";
// "Cannot read "Display Inline Images" (error <code>): ... cannot be told."
constexpr wchar_t kUnreadableBefore[] = L"无法读取“Display Inline Images”的值（错误 ";
constexpr wchar_t kUnreadableAfter[] = L"），无法判断内嵌图片当前是否显示。";

// "Inline images are set to shown (hidden) by Group Policy <place>; only the administrator of this
// computer can change that."
constexpr wchar_t kPolicyShownText[] = L"内嵌图片由组策略设为显示状态";
constexpr wchar_t kPolicyHiddenText[] = L"内嵌图片由组策略设为关闭状态";
constexpr wchar_t kPolicyAfter[] = L"，只有本机的管理员可以更改。";

// The longest part of a foreign value that is quoted; the rest is left out, marked by an ellipsis.
constexpr size_t kMaxQuotedChars = 40;
constexpr wchar_t kEllipsis = L'…';

// A value as it is quoted: shortened to kMaxQuotedChars, and with control characters (a line
// break in a tooltip, say) shown as spaces.
std::wstring Quoted(std::wstring value) {
  if (value.size() > kMaxQuotedChars) {
    value.resize(kMaxQuotedChars);
    value.back() = kEllipsis;
  }
  for (wchar_t& c : value) {
    if (c < L' ') c = L' ';
  }
  return value;
}

}  // namespace

std::wstring InlineImagesStatusText(const InlineImagesSetting& setting) {
  switch (setting.state) {
    case InlineImagesState::kShown:
      return kShownText;
    case InlineImagesState::kHidden:
      return kHiddenText;
    case InlineImagesState::kOther:
      return kOtherBefore + Quoted(setting.value) + kOtherAfter + kEitherCommandMends;
    case InlineImagesState::kWrongType:
      return std::wstring(kWrongTypeText) + kEitherCommandMends;
    case InlineImagesState::kNoAccess:
      return kNoAccessText;
    case InlineImagesState::kUnreadable:
      break;
  }
  return kUnreadableBefore + std::to_wstring(setting.error) + kUnreadableAfter;
}

std::wstring InlineImagesStatusText(const InlineImagesSetting& setting, const SessionUsers& users) {
  return InlineImagesStatusText(setting) + WhoseSettingNote(users);
}

InlineImagesStatus ReadInlineImagesStatus() {
  return {ReadInlineImagesSetting(), ReadInlineImagesPolicy(), ReadPictureBoxMapping()};
}

bool PicturesShown(const InlineImagesStatus& status) {
  if (status.policy != InlineImagesPolicy::kNone)
    return status.policy == InlineImagesPolicy::kShown;
  return status.setting.state == InlineImagesState::kShown;
}

std::wstring InlineImagesStatusText(const InlineImagesStatus& status, const SessionUsers& users) {
  // Under a policy, Internet Options' box is greyed out: what it would write does not matter.
  if (status.policy != InlineImagesPolicy::kNone) {
    const bool shown = status.policy == InlineImagesPolicy::kShown;
    return (shown ? kPolicyShownText : kPolicyHiddenText) +
           std::wstring(InlineImagesPolicyPlace()) + kPolicyAfter + WhoseSettingNote(users);
  }
  return InlineImagesStatusText(status.setting, users) + PictureBoxSentence(status.mapping);
}

std::wstring CurrentInlineImagesStatusText() {
  return InlineImagesStatusText(ReadInlineImagesStatus(), SessionUsersOf(GetShellWindow()));
}

}  // namespace app
