// The Group Policy value and the mapping of Internet Options' "显示图片" box, written into the
// registry of the test prefix in the views the program reads, and read back as the program does.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/repair/inline_images_policy.h"
#include "tests/support/inline_images_value.h"

namespace {

using app::InlineImagesPolicy;
using app::PictureBoxMapping;
using payload_tests::InlineImagesPolicyValue;
using payload_tests::PictureBoxMappingValue;

constexpr auto kMissing = std::nullopt;

// Only what the template writes, in any case, holds the setting; what else may stand there
// leaves the user's value in charge.
TEST(InlineImagesPolicyValue, OnlyTheTemplatesStringsHoldTheSetting) {
  struct Case {
    std::optional<std::wstring> value;
    InlineImagesPolicy expected;
  };
  const Case cases[] = {
      {kMissing, InlineImagesPolicy::kNone}, {L"no", InlineImagesPolicy::kHidden},
      {L"NO", InlineImagesPolicy::kHidden},  {L"yes", InlineImagesPolicy::kShown},
      {L"Yes", InlineImagesPolicy::kShown},  {L"", InlineImagesPolicy::kNone},
      {L"no ", InlineImagesPolicy::kNone},   {L"yesno", InlineImagesPolicy::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.value.value_or(L"(missing)")));
    const InlineImagesPolicyValue policy(c.value);
    EXPECT_EQ(app::ReadInlineImagesPolicy(), c.expected);
  }
  // A value that is no string, and a key that cannot be read, hold nothing either.
  EXPECT_EQ(app::ClassifyInlineImagesPolicy(ERROR_SUCCESS, REG_DWORD, L""),
            InlineImagesPolicy::kNone);
  EXPECT_EQ(app::ClassifyInlineImagesPolicy(ERROR_ACCESS_DENIED, REG_SZ, L"no"),
            InlineImagesPolicy::kNone);
  EXPECT_EQ(app::ReadInlineImagesPolicy(), InlineImagesPolicy::kNone) << "the value was put back";
}

// The box is altered when a string that is there is not its own; a missing one changes nothing.
TEST(PictureBoxMapping, AStringThatIsThereAndIsNotItsOwnIsAnAlteration) {
  struct Case {
    std::optional<std::wstring> checked;
    std::optional<std::wstring> unchecked;
    PictureBoxMapping expected;
  };
  const Case cases[] = {
      {kMissing, kMissing, PictureBoxMapping::kIntact},
      {L"yes", L"no", PictureBoxMapping::kIntact},
      {L"YES", L"No", PictureBoxMapping::kIntact},
      {L"no", L"no", PictureBoxMapping::kTickingHides},  // what scraping scripts write
      {L"no", L"yes", PictureBoxMapping::kTickingHides},
      {L"", kMissing, PictureBoxMapping::kTickingHides},
      {L"yes", L"yes", PictureBoxMapping::kClearingShows},
      {kMissing, L"off", PictureBoxMapping::kClearingShows},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.checked.value_or(L"(missing)") + L" / " +
                                        c.unchecked.value_or(L"(missing)")));
    const PictureBoxMappingValue checked(L"CheckedValue", c.checked);
    const PictureBoxMappingValue unchecked(L"UncheckedValue", c.unchecked);
    EXPECT_EQ(app::ReadPictureBoxMapping(), c.expected);
    EXPECT_EQ(app::PictureBoxSentence(c.expected).empty(),
              c.expected == PictureBoxMapping::kIntact);
  }
  const app::MappingValue number{ERROR_SUCCESS, REG_DWORD, L""};
  const app::MappingValue denied{ERROR_ACCESS_DENIED, REG_NONE, L""};
  EXPECT_EQ(app::ClassifyPictureBoxMapping(number, denied), PictureBoxMapping::kTickingHides);
  EXPECT_EQ(app::ClassifyPictureBoxMapping(denied, denied), PictureBoxMapping::kIntact);
}

}  // namespace
