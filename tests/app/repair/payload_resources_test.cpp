#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/repair/registry_payload.h"
#include "tests/support/payload_text.h"
#include "tests/support/test_paths.h"
#include "win/unique_handle.h"

namespace {

using payload_tests::Bytes;
using payload_tests::ExpectedPayload;

// The built program opened as data, so its resources can be read without running it.
class ProgramResources : public testing::Test {
 protected:
  void SetUp() override {
    module_.reset(LoadLibraryExW(testing_support::MorvaneExePath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(module_) << "cannot open the built program";
  }

  // The resource as found by the given type name, identifier and language; empty when missing.
  Bytes Read(const wchar_t* type, WORD id, WORD language) const {
    HRSRC info = FindResourceExW(module_.get(), type, MAKEINTRESOURCEW(id), language);
    if (info == nullptr) return {};
    const auto* data =
        static_cast<const unsigned char*>(LockResource(LoadResource(module_.get(), info)));
    if (data == nullptr) return {};
    return Bytes(data, data + SizeofResource(module_.get(), info));
  }

  win::Module module_;
};

BOOL CALLBACK CollectTypeName(HMODULE, LPWSTR type, LONG_PTR names) {
  if (!IS_INTRESOURCE(type)) reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(type);
  return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
  reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
  return TRUE;
}

TEST_F(ProgramResources, PayloadsAreTheExactImportTexts) {
  const Bytes show = ExpectedPayload(L"yes");
  const Bytes hide = ExpectedPayload(L"no");
  ASSERT_EQ(show.size(), 270u);
  ASSERT_EQ(hide.size(), 268u);

  // The type name is stored as "CUSTOM"; lookups by name ignore case.
  std::vector<std::wstring> typeNames;
  EnumResourceTypesW(module_.get(), CollectTypeName, reinterpret_cast<LONG_PTR>(&typeNames));
  EXPECT_EQ(typeNames, std::vector<std::wstring>{L"CUSTOM"});

  EXPECT_EQ(Read(L"custom", 101, 2052), show) << "resource 101 differs from the show payload";
  EXPECT_EQ(Read(L"custom", 102, 2052), hide) << "resource 102 differs from the hide payload";

  for (WORD id : {WORD{101}, WORD{102}}) {
    std::vector<WORD> languages;
    EnumResourceLanguagesW(module_.get(), L"CUSTOM", MAKEINTRESOURCEW(id), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages, std::vector<WORD>{2052}) << "languages of resource " << id;
  }
}

TEST_F(ProgramResources, CommandsLoadTheirOwnPayloads) {
  // The loader the commands use finds each payload under its identifier.
  for (const app::RegistryPayload* payload : {&app::kShowInlineImages, &app::kHideInlineImages}) {
    const app::ResourceBytes bytes = app::LoadPayloadBytes(module_.get(), payload->resourceId);
    EXPECT_EQ(Bytes(bytes.data, bytes.data + bytes.size), ExpectedPayload(payload->value))
        << "payload " << payload->resourceId;
  }
}

}  // namespace
