#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "skin/core/skin_kind.h"

namespace skin {
namespace {

// Every class name of the classification table, the grid's prefix pattern and names near them,
// with the kind each must give.
const std::vector<std::pair<std::string, SkinKind>> kNames = {
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
    // The grid is a prefix pattern, tried after the names above.
    {"ApexGrid", SkinKind::Grid},
    {"APEXGRIDOLEDB32", SkinKind::Grid},
    {"apexgrid.unicode", SkinKind::Grid},
    {"apexgri", SkinKind::Other},
    {"xapexgrid", SkinKind::Other},
    // Near misses, other classes and the empty name.
    {"", SkinKind::Other},
    {"buttons", SkinKind::Other},
    {" button", SkinKind::Other},
    {"#32771", SkinKind::Other},
    {"Static", SkinKind::Other},
    {"ListBox", SkinKind::Other},
};

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

TEST(SkinKind, EveryNameGivesItsKindInAnyCase) {
  for (const auto& [name, kind] : kNames) {
    EXPECT_EQ(ClassifyClassName(name), kind) << name;
    EXPECT_EQ(ClassifyClassName(LowerClassName(name)), kind) << name;
    EXPECT_EQ(ClassifyClassName(Upper(name)), kind) << name;
  }
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
