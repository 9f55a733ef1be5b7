#include "skin/core/skin_kind.h"

#include <algorithm>
#include <array>

namespace skin {

namespace {

constexpr int kClassNameBufferLength = 255;
constexpr std::string_view kGridPrefix = "apexgrid";

struct KindNames {
  SkinKind kind;
  std::string_view name;
};

// Every class name the skin recognises by equality, lower-cased.
constexpr std::array<KindNames, 24> kKindNames{{
    {SkinKind::Form, "#32770"},
    {SkinKind::Form, "thunderformdc"},
    {SkinKind::Form, "thunderrt6formdc"},
    {SkinKind::Form, "form"},
    {SkinKind::Button, "thundercommandbutton"},
    {SkinKind::Button, "thunderrt6commandbutton"},
    {SkinKind::Button, "button"},
    {SkinKind::Combo, "thundercombobox"},
    {SkinKind::Combo, "thunderrt6combobox"},
    {SkinKind::Combo, "combo"},
    {SkinKind::Combo, "combobox"},
    {SkinKind::Combo, "thunderdrivelistbox"},
    {SkinKind::Combo, "thunderrt6drivelistbox"},
    {SkinKind::Check, "thundercheckbox"},
    {SkinKind::Check, "thunderrt6checkbox"},
    {SkinKind::Option, "thunderoptionbutton"},
    {SkinKind::Option, "thunderrt6optionbutton"},
    {SkinKind::Progress, "progressbar20wndclass"},
    {SkinKind::Progress, "progressbarwndclass"},
    {SkinKind::Header, "msvb_lib_header"},
    {SkinKind::Header, "sysheader32"},
    {SkinKind::DataList, "datalistwndclass"},
    {SkinKind::DataList, "dblistwndclass"},
    {SkinKind::ComboList, "combolbox"},
}};

constexpr std::array<std::string_view, 2> kDriveListNames{"thunderdrivelistbox",
                                                          "thunderrt6drivelistbox"};

}  // namespace

std::string GetWindowClassName(HWND window) {
  char buffer[kClassNameBufferLength] = {};
  const int length = GetClassNameA(window, buffer, kClassNameBufferLength);
  if (length <= 0) return std::string();
  return std::string(buffer, std::find(buffer, buffer + kClassNameBufferLength, '\0'));
}

std::string LowerClassName(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

SkinKind ClassifyClassName(std::string_view className) {
  const std::string lower = LowerClassName(className);
  for (const KindNames& entry : kKindNames) {
    if (entry.name == lower) return entry.kind;
  }
  // The grid pattern is tried only after every equality test failed.
  if (lower.compare(0, kGridPrefix.size(), kGridPrefix) == 0) return SkinKind::Grid;
  return SkinKind::Other;
}

SkinKind GetSkinKind(HWND window) { return ClassifyClassName(GetWindowClassName(window)); }

bool IsDriveListClassName(std::string_view className) {
  const std::string lower = LowerClassName(className);
  return std::find(kDriveListNames.begin(), kDriveListNames.end(), lower) != kDriveListNames.end();
}

}  // namespace skin
