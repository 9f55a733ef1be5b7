#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/repair/registry_payload.h"
#include "tests/support/payload_text.h"

namespace {

using payload_tests::Bytes;
using payload_tests::ExpectedPayload;
using payload_tests::ReadFileBytes;
using payload_tests::TempDirectory;
using payload_tests::WriteFileBytes;

constexpr DWORD kStickyMarks =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

app::ResourceBytes AsResource(const Bytes& bytes) {
  return {bytes.data(), static_cast<DWORD>(bytes.size())};
}

// The error of opening path with this access and sharing; ERROR_SUCCESS when it opened.
DWORD OpenError(const std::wstring& path, DWORD access, DWORD sharing) {
  SetLastError(ERROR_SUCCESS);
  const win::KernelHandle file(
      CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
  return file ? ERROR_SUCCESS : GetLastError();
}

// A payload file path of the test's own in the temporary directory, removed however the test
// ends.
class PayloadFiles : public testing::Test {
 protected:
  void TearDown() override {
    SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path_.c_str());
    RemoveDirectoryW(path_.c_str());
  }

  const std::wstring path_ = TempDirectory() + L"morvane-test-payload.reg";
  const Bytes payload_ = ExpectedPayload(L"yes");
};

TEST_F(PayloadFiles, AFileAlreadyThereIsNeverOpenedAndANewOneIsHeldForReadingOnly) {
  // Longer than the payload, with other content, and marked hidden, system, read-only.
  const Bytes leftover = ExpectedPayload(L"no ... and a long stale tail that must not survive");
  ASSERT_TRUE(WriteFileBytes(path_, leftover));
  ASSERT_TRUE(SetFileAttributesW(path_.c_str(), kStickyMarks));
  EXPECT_FALSE(app::CreateHeldFile(path_, AsResource(payload_)));
  EXPECT_EQ(ReadFileBytes(path_), leftover);
  EXPECT_EQ(GetFileAttributesW(path_.c_str()) & kStickyMarks, kStickyMarks) << "marks changed";
  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(DeleteFileW(path_.c_str()));

  win::KernelHandle held = app::CreateHeldFile(path_, AsResource(payload_));
  ASSERT_TRUE(held);
  EXPECT_EQ(ReadFileBytes(path_), payload_);
  EXPECT_EQ(OpenError(path_, GENERIC_READ, FILE_SHARE_READ), DWORD{ERROR_SUCCESS})
      << "a reader that shares only reading must get in";
  EXPECT_EQ(OpenError(path_, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE),
            DWORD{ERROR_SHARING_VIOLATION});
  EXPECT_FALSE(DeleteFileW(path_.c_str())) << "the held file could be deleted";
  held.reset();
  EXPECT_EQ(OpenError(path_, GENERIC_WRITE, 0), DWORD{ERROR_SUCCESS});
}

TEST_F(PayloadFiles, APathTakenByADirectoryOrAnEmptyPayloadIsAFailure) {
  EXPECT_FALSE(app::CreateHeldFile(path_, {}));
  EXPECT_EQ(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing is created";

  ASSERT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));
  EXPECT_FALSE(app::CreateHeldFile(path_, AsResource(payload_)));
}

// Two runs at the same time get files of their own, named after the payload, and each deletes
// only its own.
TEST_F(PayloadFiles, EachRunHasAFileOfItsOwnThatGoesWithIt) {
  auto first = std::make_unique<app::PayloadFile>(L"Ykvo.reg", AsResource(payload_));
  const app::PayloadFile second(L"Ykvo.reg", AsResource(payload_));
  ASSERT_TRUE(*first && second);
  EXPECT_NE(first->path(), second.path());
  for (const std::wstring& path : {first->path(), second.path()}) {
    EXPECT_EQ(path.rfind(TempDirectory() + L"Ykvo-", 0), 0u) << "odd name";
    EXPECT_EQ(path.size(), TempDirectory().size() + wcslen(L"Ykvo-12345678.reg"));
    EXPECT_EQ(path.substr(path.size() - 4), L".reg");
    EXPECT_EQ(ReadFileBytes(path), payload_);
  }
  const std::wstring firstPath = first->path();
  first.reset();
  EXPECT_EQ(GetFileAttributesW(firstPath.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadFileBytes(second.path()), payload_);
}

}  // namespace
