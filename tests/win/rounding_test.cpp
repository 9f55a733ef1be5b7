// Rounding of fractional pixel positions: halves go to the even neighbour, whatever rounding mode
// the floating-point unit is in.

#include "win/rounding.h"

#include <cfenv>
#include <climits>
#include <limits>

#include <gtest/gtest.h>

namespace {

struct Case {
  double value;
  int rounded;
};

// Read through a volatile array so that the compiler cannot work the results out beforehand, in
// the default rounding mode.
// clang-format off
volatile const Case kCases[] = {
    {0.5, 0},  {1.5, 2},   {2.5, 2},   {7.5, 8},     {8.5, 8},     {3.0, 3},
    {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {-2.6, -3},   {-0.4, 0},
    {2.4999, 2}, {2.5001, 3}, {2147483646.5, 2147483646}, {-2147483647.5, INT_MIN}};
// clang-format on

// Sets a rounding mode for the length of a scope.
class RoundingMode {
 public:
  explicit RoundingMode(int mode) : ok_(std::fesetround(mode) == 0) {}
  RoundingMode(const RoundingMode&) = delete;
  RoundingMode& operator=(const RoundingMode&) = delete;
  ~RoundingMode() { std::fesetround(original_); }
  bool ok() const { return ok_; }

 private:
  const int original_ = std::fegetround();
  const bool ok_;
};

TEST(RoundHalfToEven, HalvesGoToTheEvenNeighbourInEveryRoundingMode) {
  const struct {
    int mode;
    const char* name;
  } modes[] = {{FE_TONEAREST, "to nearest"},
               {FE_UPWARD, "upward"},
               {FE_DOWNWARD, "downward"},
               {FE_TOWARDZERO, "toward zero"}};
  for (const auto& m : modes) {
    const RoundingMode mode(m.mode);
    ASSERT_TRUE(mode.ok()) << m.name;
    for (const volatile Case& c : kCases) {
      const double value = c.value;
      const int rounded = c.rounded;
      EXPECT_EQ(win::RoundHalfToEven(value), rounded) << value << ", rounding " << m.name;
    }
  }
}

TEST(RoundHalfToEven, ValuesBeyondIntGiveItsEnds) {
  EXPECT_EQ(win::RoundHalfToEven(3e9), INT_MAX);
  EXPECT_EQ(win::RoundHalfToEven(2147483647.5), INT_MAX);
  EXPECT_EQ(win::RoundHalfToEven(-3e9), INT_MIN);
  EXPECT_EQ(win::RoundHalfToEven(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(CentredOffset, CentresWindowsMarksAndGlyphs) {
  // Windows on screens of 1280 and 1024 pixels; one wider than the screen still centred.
  EXPECT_EQ(win::CentredOffset(1280, 296), 492);
  EXPECT_EQ(win::CentredOffset(1024, 177), 424);  // 423.5
  EXPECT_EQ(win::CentredOffset(1024, 179), 422);  // 422.5
  EXPECT_EQ(win::CentredOffset(100, 101), 0);     // -0.5
  EXPECT_EQ(win::CentredOffset(100, 103), -2);    // -1.5

  // A 13-pixel check mark in windows of several heights.
  EXPECT_EQ(win::CentredOffset(13, 13), 0);
  EXPECT_EQ(win::CentredOffset(16, 13), 2);  // 1.5
  EXPECT_EQ(win::CentredOffset(18, 13), 2);  // 2.5
  EXPECT_EQ(win::CentredOffset(20, 13), 4);  // 3.5
  // A window lower than the mark puts the mark above its top.
  EXPECT_EQ(win::CentredOffset(10, 13), -2);  // -1.5
  EXPECT_EQ(win::CentredOffset(8, 13), -2);   // -2.5
  // Glyphs inside a 13 x 13 box: the 9 x 8 mark at 2, 2 and the 7 x 7 square at 3, 3.
  EXPECT_EQ(win::CentredOffset(13, 9), 2);
  EXPECT_EQ(win::CentredOffset(13, 8), 2);  // 2.5
  EXPECT_EQ(win::CentredOffset(13, 7), 3);
  EXPECT_EQ(win::CentredOffset(13, 5), 4);
}

}  // namespace
