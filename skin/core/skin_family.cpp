#include "skin/core/skin_family.h"

namespace skin {

SkinFamily FamilyOfKind(SkinKind kind, std::string_view className) {
  switch (kind) {
    case SkinKind::Form:
      return SkinFamily::Form;
    case SkinKind::Button:
      return SkinFamily::Button;
    case SkinKind::Combo:
      return IsDriveListClassName(className) ? SkinFamily::DriveList : SkinFamily::ComboBox;
    case SkinKind::Check:
      return SkinFamily::Check;
    case SkinKind::Option:
      return SkinFamily::Option;
    case SkinKind::Progress:
      return SkinFamily::Progress;
    case SkinKind::Header:
      return SkinFamily::Header;
    case SkinKind::DataList:
      return SkinFamily::DataList;
    case SkinKind::ComboList:
      return SkinFamily::ComboList;
    case SkinKind::Grid:
      return SkinFamily::Grid;
    case SkinKind::Other:
      return SkinFamily::Other;
  }
  return SkinFamily::Other;
}

SkinFamily ClassifyFamily(std::string_view className) {
  return FamilyOfKind(ClassifyClassName(className), className);
}

SkinFamily GetSkinFamily(HWND window) { return ClassifyFamily(GetWindowClassName(window)); }

}  // namespace skin
