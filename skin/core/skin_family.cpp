#include "skin/core/skin_family.h"

#include <iterator>

namespace skin {

namespace {

// The family of every kind, in SkinKind's order; the kind of combo boxes is split further by
// class name.
constexpr SkinFamily kFamilyOfKind[] = {
    /* Form      */ SkinFamily::Form,
    /* Button    */ SkinFamily::Button,
    /* Combo     */ SkinFamily::ComboBox,
    /* Check     */ SkinFamily::Check,
    /* Option    */ SkinFamily::Option,
    /* Progress  */ SkinFamily::Progress,
    /* Header    */ SkinFamily::Header,
    /* DataList  */ SkinFamily::DataList,
    /* ComboList */ SkinFamily::ComboList,
    /* Grid      */ SkinFamily::Grid,
    /* Other     */ SkinFamily::Other,
};
static_assert(std::size(kFamilyOfKind) == static_cast<size_t>(SkinKind::Other) + 1,
              "one family per kind");

}  // namespace

SkinFamily FamilyOfKind(SkinKind kind, std::string_view className) {
  if (kind == SkinKind::Combo && IsDriveListClassName(className)) return SkinFamily::DriveList;
  return kFamilyOfKind[static_cast<size_t>(kind)];
}

SkinFamily ClassifyFamily(std::string_view className) {
  return FamilyOfKind(ClassifyClassName(className), className);
}

SkinFamily GetSkinFamily(HWND window) { return ClassifyFamily(GetWindowClassName(window)); }

}  // namespace skin
