#pragma once

// Where everything of the main window sits, in twips (15 to a pixel at 96 DPI), and what its
// fixed texts say. The window lays itself out from these; the benchmark builds its bare platform
// dialog from the same figures, so that the two are the same size at every DPI.

#include <string_view>

#include "app/windows/resource_ids.h"
#include "app/windows/twips_layout.h"

namespace app::form1 {

inline constexpr TwipsSize kClientSize = {4350, 2295};

// The frame around the commands; its caption reads "operations".
inline constexpr wchar_t kFrameCaption[] = L"操作功能";
inline constexpr TwipsBox kFrameBox = {120, 120, 4095, 1695};

// The command buttons inside the frame, in frame client coordinates, in Tab order.
struct ButtonLayout {
  int id;
  const wchar_t* caption;
  TwipsBox box;
};
inline constexpr ButtonLayout kButtons[] = {
    {IDC_COMMAND2, L"显示内嵌图片", {120, 240, 3855, 375}},     // show inline images
    {IDC_COMMAND3, L"关闭内嵌图片", {120, 720, 3855, 375}},     // turn inline images off
    {IDC_COMMAND1, L"刷新后马上生效", {120, 1200, 1815, 375}},  // refresh, takes effect at once
    {IDC_COMMAND4, L"说明", {2040, 1200, 1935, 375}},           // instructions
};

// Label2: the name of the maker's community.
inline constexpr std::wstring_view kCommunityName = L"Quenlit";
inline constexpr TwipsBox kLabel2Box = {120, 1920, 1305, 240};

// Label3: the link to the forum.
inline constexpr TwipsBox kLabel3Box = {1440, 1920, 2775, 240};

}  // namespace app::form1
