#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "skin/core/skin_props.h"

namespace skin {
namespace {

class SkinPropsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }
  HWND window_ = nullptr;
};

TEST_F(SkinPropsTest, KeysAreTheUpperCaseNamesAndDistinct) {
  std::set<std::string> keys(std::begin(props::kAllKeys), std::end(props::kAllKeys));
  EXPECT_EQ(keys, (std::set<std::string>{"PROCADDR", "HDC0", "HDC1", "HDC2", "HDC3", "BMP0", "BMP1",
                                         "BMP2", "BMP3", "OLDSTYLE", "MOUSEFLAG", "TIMERID",
                                         "OLDSTATE", "ALPHALEVEL", "HDINDEX", "HMINDEX"}));
}

TEST_F(SkinPropsTest, MissingReadsZeroAndValuesRoundTripAtPointerWidth) {
  EXPECT_EQ(GetSkinProp(window_, props::kOldState), 0);
  EXPECT_FALSE(IsSkinned(window_));

  SetSkinProp(window_, props::kHeaderHotIndex, -1);
  EXPECT_EQ(GetSkinProp(window_, props::kHeaderHotIndex), -1);
  // The platform sees the all-ones pattern, not a truncated 32-bit value.
  EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(window_, "HMINDEX")), INT_PTR{-1});

  SetSkinProp(window_, props::kAlphaLevel, 255);
  EXPECT_EQ(GetSkinProp(window_, props::kAlphaLevel), 255);

  // A pointer-sized value (a procedure address or a handle) survives whole on 64-bit.
  const LONG_PTR wide =
      static_cast<LONG_PTR>(sizeof(void*) == 8 ? INT64_C(0x123456789ABC) : 0x12345678);
  SetSkinProp(window_, props::kProcAddr, wide);
  EXPECT_EQ(GetSkinProp(window_, props::kProcAddr), wide);
  EXPECT_TRUE(IsSkinned(window_));

  HDC dc = reinterpret_cast<HDC>(static_cast<INT_PTR>(0x4321));
  SetSkinPropHandle(window_, props::kStateSurface[2], dc);
  EXPECT_EQ(GetSkinPropHandle<HDC>(window_, "HDC2"), dc);

  for (const char* key : props::kAllKeys) RemoveSkinProp(window_, key);
  for (const char* key : props::kAllKeys) {
    EXPECT_EQ(GetPropA(window_, key), nullptr) << key;
  }
  EXPECT_FALSE(IsSkinned(window_));
  RemoveSkinProp(window_, props::kTimerId);  // removing a missing key is harmless
}

TEST_F(SkinPropsTest, StateReadsBackAndOutOfRangeValuesReadAsNormal) {
  for (SkinState state :
       {SkinState::Normal, SkinState::Hot, SkinState::Pressed, SkinState::Disabled}) {
    SetSkinState(window_, state);
    EXPECT_EQ(GetSkinState(window_), state);
    EXPECT_EQ(GetSkinProp(window_, "OLDSTATE"), ToInt(state));
  }
  SetSkinProp(window_, props::kOldState, 7);
  EXPECT_EQ(GetSkinState(window_), SkinState::Normal);
  SetSkinProp(window_, props::kOldState, -1);
  EXPECT_EQ(GetSkinState(window_), SkinState::Normal);
  RemoveSkinProp(window_, props::kOldState);
}

}  // namespace
}  // namespace skin
