#include "app/windows/status_commands.h"

#include <algorithm>
#include <iterator>

#include "app/repair/inline_images_status.h"
#include "app/windows/command_tooltips.h"
#include "app/windows/resource_ids.h"

namespace app::form1 {
namespace {

// The two repair commands, in the frame IDC_FRAME2.
constexpr int kStatusCommands[] = {IDC_COMMAND2, IDC_COMMAND3};

}  // namespace

bool IsStatusCommand(HWND frame, HWND window) {
  if (frame == nullptr || window == nullptr || GetParent(window) != frame) return false;
  const int id = GetDlgCtrlID(window);
  return std::find(std::begin(kStatusCommands), std::end(kStatusCommands), id) !=
         std::end(kStatusCommands);
}

std::wstring DescribeStatusCommand(HWND form, HWND button) {
  if (form == nullptr || !IsStatusCommand(GetDlgItem(form, IDC_FRAME2), button)) return {};
  return CurrentInlineImagesStatusText();
}

void AnnotateStatusCommands(HWND form, accessible::DescriptionSource describe) {
  HWND frame = GetDlgItem(form, IDC_FRAME2);
  for (const int id : kStatusCommands) {
    HWND button = GetDlgItem(frame, id);
    if (describe != nullptr) {
      accessible::AnnotateDescription(button, describe);
    } else {
      accessible::ClearDescription(button);
    }
  }
}

void StatusTooltip::Feed(HWND form, HWND under, UINT mouseMessage, HFONT font, int dpi) {
  if (tooltip_ == nullptr) {
    HWND frame = GetDlgItem(form, IDC_FRAME2);
    if (!IsStatusCommand(frame, under)) return;
    tooltip_ = CreateFormTooltip(form);
    if (tooltip_ == nullptr) return;
    for (const int id : kStatusCommands) {
      AddTooltipTool(tooltip_, form, GetDlgItem(frame, id));
    }
    SetTooltipDpi(tooltip_, font, dpi);
  }
  RelayToTooltip(tooltip_, under, mouseMessage);
}

void StatusTooltip::SetDpi(HFONT font, int dpi) const { SetTooltipDpi(tooltip_, font, dpi); }

bool StatusTooltip::AnswerTextRequest(HWND form, LPARAM lParam) {
  NMTTDISPINFOW* request = TooltipTextRequest(tooltip_, lParam);
  if (request == nullptr) return false;
  const auto tool = reinterpret_cast<HWND>(request->hdr.idFrom);
  text_ = IsStatusCommand(GetDlgItem(form, IDC_FRAME2), tool) ? CurrentInlineImagesStatusText()
                                                              : std::wstring();
  request->lpszText = text_.data();
  return true;
}

}  // namespace app::form1
