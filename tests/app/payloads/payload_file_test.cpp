#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/registry_payload.h"
#include "tests/app/payloads/payload_text.h"

namespace {

using payload_tests::Bytes;
using payload_tests::ExpectedPayload;
using payload_tests::ReadFileBytes;
using payload_tests::WriteFileBytes;

constexpr DWORD kStickyMarks =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

// A payload file path of the test's own in the temporary directory, removed however the test
// ends.
class PayloadFile : public testing::Test {
 protected:
  void TearDown() override {
    SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path_.c_str());
    RemoveDirectoryW(path_.c_str());
  }

  const std::wstring path_ = app::PayloadFilePath(L"morvane-test-payload.reg");
};

TEST_F(PayloadFile, ALeftoverMarkedHiddenSystemReadOnlyIsReplacedWhole) {
  // Longer than the payload, with other content, and marked so that a plain create refuses it.
  const Bytes leftover = ExpectedPayload(L"no ... and a long stale tail that must not survive");
  ASSERT_TRUE(WriteFileBytes(path_, leftover));
  ASSERT_TRUE(SetFileAttributesW(path_.c_str(), kStickyMarks));

  const Bytes payload = ExpectedPayload(L"yes");
  EXPECT_TRUE(app::WritePayloadFile(path_, {payload.data(), static_cast<DWORD>(payload.size())}));
  EXPECT_EQ(ReadFileBytes(path_), payload);
  const DWORD attributes = GetFileAttributesW(path_.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(attributes & kStickyMarks, 0u);
}

TEST_F(PayloadFile, APathTakenByADirectoryOrAnEmptyPayloadIsAFailure) {
  const Bytes payload = ExpectedPayload(L"yes");
  EXPECT_FALSE(app::WritePayloadFile(path_, {}));
  EXPECT_EQ(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing is created";

  ASSERT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));
  EXPECT_FALSE(app::WritePayloadFile(path_, {payload.data(), static_cast<DWORD>(payload.size())}));
}

}  // namespace
