// The program's own few calls of oleaut32: each gives what oleaut32's own call gives, and a plain
// colour needs no oleaut32 at all.

#include "win/ole_automation.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <olectl.h>

#include <string>
#include <string_view>

#include "win/unique_handle.h"

namespace {

// Colours as OleTranslateColor translates them without a palette, and the same through a palette
// (where a plain colour becomes palette-relative).
TEST(TranslateOleColour, GivesWhatOleTranslateColorGives) {
  const win::Palette palette = [] {
    LOGPALETTE description{0x300, 1, {{0x10, 0x20, 0x30, 0}}};
    return win::Palette(CreatePalette(&description));
  }();
  ASSERT_TRUE(palette);
  const OLE_COLOR colours[] = {RGB(0x12, 0x34, 0x56), 0x80000000 | COLOR_BTNFACE,
                               0x80000000 | COLOR_WINDOWTEXT, 0x02123456, 0x01000000};
  for (const HPALETTE used : {HPALETTE{nullptr}, palette.get()}) {
    for (const OLE_COLOR colour : colours) {
      SCOPED_TRACE(testing::Message() << std::hex << colour << (used ? " with palette" : ""));
      COLORREF expected = 0xDEADBEEF, actual = 0xDEADBEEF;
      const HRESULT expectedResult = OleTranslateColor(colour, used, &expected);
      EXPECT_EQ(win::TranslateOleColour(colour, used, &actual), expectedResult);
      if (SUCCEEDED(expectedResult)) {
        EXPECT_EQ(actual, expected);
      }
    }
  }
  COLORREF ignored = 0;
  EXPECT_EQ(win::TranslateOleColour(0x80000000 | 0xFF, nullptr, &ignored),
            OleTranslateColor(0x80000000 | 0xFF, nullptr, &ignored))
      << "no such system colour";
  EXPECT_EQ(win::TranslateOleColour(0, nullptr, nullptr), E_POINTER);
}

TEST(AllocateBstr, HoldsTheTextWithItsLengthAndEmbeddedNulls) {
  const std::wstring_view text(L"内嵌\0图片", 5);
  const BSTR string = win::AllocateBstr(text);
  ASSERT_NE(string, nullptr);
  EXPECT_EQ(SysStringLen(string), 5u);
  EXPECT_EQ(std::wstring_view(string, 5), text);
  SysFreeString(string);
}

}  // namespace
