#pragma once

// Telling windows apart by class name. The kind is derived from the lower-cased class name on
// every use; nothing is cached, so a window whose class changes meaning (or that is destroyed)
// is always classified afresh.

#include <windows.h>

#include <string>
#include <string_view>

namespace skin {

enum class SkinKind {
  Form,
  Button,
  Combo,  // combo boxes proper and drive lists; see IsDriveListClassName
  Check,
  Option,
  Progress,
  Header,
  DataList,
  ComboList,  // the drop-down list of a combo box
  Grid,
  Other,
};

// The window's class name as GetClassNameA reports it (at most 254 characters); the empty
// string when the window does not exist or the name cannot be read.
std::string GetWindowClassName(HWND window);

// The class name with the letters A to Z turned into a to z; nothing else changes.
std::string LowerClassName(std::string_view name);

// The kind of a class name, in any mix of case.
SkinKind ClassifyClassName(std::string_view className);

// The kind of a window; a missing or destroyed window is SkinKind::Other.
SkinKind GetSkinKind(HWND window);

// Drive lists are SkinKind::Combo but some message handlers treat them apart from the combo
// boxes proper ("thundercombobox", "thunderrt6combobox", "combo", "combobox").
bool IsDriveListClassName(std::string_view className);

}  // namespace skin
