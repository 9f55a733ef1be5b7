#pragma once

// The families the skin's window procedure tells apart: the kinds, with SkinKind::Combo split
// into combo boxes proper and drive lists. Attach decides a window's family once, from its class
// name, and the property store keeps it with the window's state (skin_props.h).

#include <windows.h>

#include <string_view>

#include "skin/core/skin_kind.h"

namespace skin {

enum class SkinFamily {
  Form,
  Button,
  ComboBox,
  DriveList,
  Check,
  Option,
  Progress,
  Header,
  DataList,
  ComboList,
  Grid,
  Other,
};

inline constexpr size_t kSkinFamilyCount = static_cast<size_t>(SkinFamily::Other) + 1;

// The family of a class name, in any mix of case.
SkinFamily ClassifyFamily(std::string_view className);

// The family of a class name whose kind is known already.
SkinFamily FamilyOfKind(SkinKind kind, std::string_view className);

// The family of a window, from its class name as it is now.
SkinFamily GetSkinFamily(HWND window);

}  // namespace skin
