#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "skin/core/skin_kind.h"

namespace skin {
namespace {

// Every class name of the classification table, with the kind it must give.
const std::vector<std::pair<std::string, SkinKind>> kListedNames = {
    {"#32770", SkinKind::Form},
    {"ThunderFormDC", SkinKind::Form},
    {"ThunderRT6FormDC", SkinKind::Form},
    {"Form", SkinKind::Form},
    {"ThunderCommandButton", SkinKind::Button},
    {"ThunderRT6CommandButton", SkinKind::Button},
    {"Button", SkinKind::Button},
    {"ThunderComboBox", SkinKind::Combo},
    {"ThunderRT6ComboBox", SkinKind::Combo},
    {"Combo", SkinKind::Combo},
    {"ComboBox", SkinKind::Combo},
    {"ThunderDriveListBox", SkinKind::Combo},
    {"ThunderRT6DriveListBox", SkinKind::Combo},
    {"ThunderCheckBox", SkinKind::Check},
    {"ThunderRT6CheckBox", SkinKind::Check},
    {"ThunderOptionButton", SkinKind::Option},
    {"ThunderRT6OptionButton", SkinKind::Option},
    {"ProgressBar20WndClass", SkinKind::Progress},
    {"ProgressBarWndClass", SkinKind::Progress},
    {"MSVB_Lib_Header", SkinKind::Header},
    {"SysHeader32", SkinKind::Header},
    {"DataListWndClass", SkinKind::DataList},
    {"DBListWndClass", SkinKind::DataList},
    {"ComboLBox", SkinKind::ComboList},
};

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

TEST(SkinKind, EveryListedNameInAnyCase) {
  for (const auto& [name, kind] : kListedNames) {
    EXPECT_EQ(ClassifyClassName(name), kind) << name;
    EXPECT_EQ(ClassifyClassName(LowerClassName(name)), kind) << name;
    EXPECT_EQ(ClassifyClassName(Upper(name)), kind) << name;
  }
}

TEST(SkinKind, GridIsAPrefixPatternTriedLast) {
  EXPECT_EQ(ClassifyClassName("apexgrid"), SkinKind::Grid);
  EXPECT_EQ(ClassifyClassName("ApexGrid"), SkinKind::Grid);
  EXPECT_EQ(ClassifyClassName("APEXGRIDOLEDB32"), SkinKind::Grid);
  EXPECT_EQ(ClassifyClassName("apexgrid.unicode"), SkinKind::Grid);
  EXPECT_EQ(ClassifyClassName("apexgri"), SkinKind::Other);
  EXPECT_EQ(ClassifyClassName("xapexgrid"), SkinKind::Other);
}

TEST(SkinKind, NearMissesAndTheEmptyNameAreOther) {
  EXPECT_EQ(ClassifyClassName(""), SkinKind::Other);
  EXPECT_EQ(ClassifyClassName("buttons"), SkinKind::Other);
  EXPECT_EQ(ClassifyClassName(" button"), SkinKind::Other);
  EXPECT_EQ(ClassifyClassName("#32771"), SkinKind::Other);
  EXPECT_EQ(ClassifyClassName("Static"), SkinKind::Other);
  EXPECT_EQ(ClassifyClassName("ListBox"), SkinKind::Other);
}

TEST(SkinKind, OnlyTheTwoDriveListNamesAreDriveLists) {
  EXPECT_TRUE(IsDriveListClassName("ThunderDriveListBox"));
  EXPECT_TRUE(IsDriveListClassName("thunderrt6drivelistbox"));
  EXPECT_FALSE(IsDriveListClassName("ComboBox"));
  EXPECT_FALSE(IsDriveListClassName("ThunderRT6ComboBox"));
  EXPECT_FALSE(IsDriveListClassName(""));
}

TEST(SkinKind, LowerClassNameChangesOnlyAsciiCapitals) {
  EXPECT_EQ(LowerClassName("AbZ#1_\xC4"), std::string("abz#1_\xC4"));
}

// A real window of a registered class in mixed case is classified by that class; once destroyed
// its class can no longer be read and it is Other.
TEST(SkinKind, LiveAndDestroyedWindows) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ThunderRT6FormDC";
  RegisterClassA(&wc);
  HWND form = CreateWindowExA(0, "ThunderRT6FormDC", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                              nullptr, wc.hInstance, nullptr);
  ASSERT_NE(form, nullptr);
  HWND button = CreateWindowExA(0, "BUTTON", "x", WS_CHILD, 0, 0, 20, 20, form, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_NE(button, nullptr);

  EXPECT_EQ(GetWindowClassName(form), "ThunderRT6FormDC");
  EXPECT_EQ(GetSkinKind(form), SkinKind::Form);
  EXPECT_EQ(LowerClassName(GetWindowClassName(button)), "button");
  EXPECT_EQ(GetSkinKind(button), SkinKind::Button);

  DestroyWindow(form);
  EXPECT_EQ(GetWindowClassName(button), "");
  EXPECT_EQ(GetSkinKind(button), SkinKind::Other);
  EXPECT_EQ(GetSkinKind(form), SkinKind::Other);
  EXPECT_EQ(GetSkinKind(nullptr), SkinKind::Other);
  UnregisterClassA("ThunderRT6FormDC", wc.hInstance);
}

}  // namespace
}  // namespace skin
