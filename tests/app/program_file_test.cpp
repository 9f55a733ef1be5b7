// The resources of the built program file, read back with the platform's resource functions.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/repair/registry_payload.h"
#include "morvane_version.h"  // made by CMake in the build tree
#include "tests/support/payload_text.h"
#include "tests/support/test_paths.h"
#include "win/unique_handle.h"

namespace {

using payload_tests::Bytes;
using payload_tests::ExpectedPayload;
using testing_support::MorvaneExePath;

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width;
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInResource;
  WORD id;
};
struct IconGroupHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
#pragma pack(pop)

class ProgramFile : public ::testing::Test {
 protected:
  void SetUp() override {
    module_.reset(LoadLibraryExW(MorvaneExePath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(module_) << "cannot open the program file";
  }

  const BYTE* Resource(LPCWSTR type, LPCWSTR name, DWORD* size) const {
    HRSRC info = FindResourceW(module_.get(), name, type);
    if (info == nullptr) return nullptr;
    *size = SizeofResource(module_.get(), info);
    return static_cast<const BYTE*>(LockResource(LoadResource(module_.get(), info)));
  }

  // The resource as found by the given type name, identifier and language; empty when missing.
  Bytes Read(const wchar_t* type, WORD id, WORD language) const {
    HRSRC info = FindResourceExW(module_.get(), type, MAKEINTRESOURCEW(id), language);
    const auto* data =
        info ? static_cast<const BYTE*>(LockResource(LoadResource(module_.get(), info))) : nullptr;
    return data != nullptr ? Bytes(data, data + SizeofResource(module_.get(), info)) : Bytes{};
  }

  win::Module module_;
};

// Whether an icon image carries an alpha channel: an RGBA PNG, or a 32-bit bitmap whose pixels
// go from fully transparent to opaque (the corners of the picture are clear).
bool HasAlphaChannel(const BYTE* image, DWORD size, int side) {
  constexpr BYTE kPngSignature[] = {0x89, 'P', 'N', 'G'};
  constexpr DWORD kPngColourTypeOffset = 25;  // in the IHDR chunk that follows the signature
  constexpr BYTE kPngRgba = 6;
  if (size > kPngColourTypeOffset &&
      std::equal(std::begin(kPngSignature), std::end(kPngSignature), image)) {
    return image[kPngColourTypeOffset] == kPngRgba;
  }
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image);
  const DWORD pixels = static_cast<DWORD>(side * side);
  if (size < sizeof(BITMAPINFOHEADER) + 4 * pixels || header->biBitCount != 32) return false;
  BYTE lowest = 255, highest = 0;
  for (DWORD i = 0; i < pixels; ++i) {
    const BYTE alpha = image[header->biSize + 4 * i + 3];
    lowest = std::min(lowest, alpha);
    highest = std::max(highest, alpha);
  }
  return lowest == 0 && highest == 255;
}

std::wstring VersionString(const std::vector<BYTE>& block, const std::wstring& name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = L"\\StringFileInfo\\080404B0\\" + name;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0) return L"";
  return std::wstring(static_cast<const wchar_t*>(value));
}

// What Properties, Task Manager and the security prompts show of the program, read as they read
// it: through the version functions, from the Chinese block that the translation table names.
TEST_F(ProgramFile, CarriesTheChineseVersionBlock) {
  const std::wstring path = MorvaneExePath();
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  const WORD* translation = static_cast<const WORD*>(value);
  EXPECT_EQ(translation[0], 2052);  // Chinese (PRC)
  EXPECT_EQ(translation[1], 1200);  // UTF-16

  const wchar_t* const kVersion = L"" MORVANE_VERSION_TEXT;
  const struct {
    const wchar_t* name;
    const wchar_t* expected;
  } kStrings[] = {
      {L"FileDescription", L"IE 网页图片显示修复工具"},
      {L"CompanyName", L"Quenlit"},
      {L"LegalCopyright", L"版权所有 © 2026 Quenlit"},
      {L"OriginalFilename", L"Morvane.exe"},
      {L"InternalName", L"Morvane"},
      {L"ProductName", L"Morvane"},
      {L"FileVersion", kVersion},
      {L"ProductVersion", kVersion},
  };
  for (const auto& string : kStrings) {
    EXPECT_EQ(VersionString(block, string.name), string.expected) << string.name;
  }

  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const DWORD versionHigh = MAKELONG(MORVANE_VERSION_MINOR, MORVANE_VERSION_MAJOR);
  const DWORD versionLow = MAKELONG(0, MORVANE_VERSION_PATCH);
  EXPECT_EQ(fixed->dwFileVersionMS, versionHigh);
  EXPECT_EQ(fixed->dwFileVersionLS, versionLow);
  EXPECT_EQ(fixed->dwProductVersionMS, versionHigh);
  EXPECT_EQ(fixed->dwProductVersionLS, versionLow);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

// Each window asks for its small and big icon at its DPI, and LoadImageW enlarges a smaller
// image where the group has none of exactly that size (LoadIconWithScaleDown, which would make it
// from a larger one instead, is missing from the comctl32 that Windows gives the program). So the
// sizes asked for at every scale Windows offers, up to 400 %, are in the group: 16 and 32 pixels
// times the scale, as the system says where it can (GetSystemMetricsForDpi). That the windows load
// exactly those images is checked in tests/app/windows/display_scale_test.cpp.
TEST_F(ProgramFile, IconGroupHoldsEveryStandardSizeWithAlphaAndEachLoads) {
  const int expectedSizes[] = {16, 20, 24, 28, 32, 36, 40, 48, 56, 64, 72, 80, 96, 112, 128, 256};
  const int count = static_cast<int>(std::size(expectedSizes));
  using MetricForDpi = int(WINAPI*)(int, UINT);
  const auto metricForDpi = reinterpret_cast<MetricForDpi>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  for (const int percent : {100, 125, 150, 175, 200, 225, 250, 300, 350, 400}) {
    for (const auto& [metric, side] :
         {std::pair{SM_CXSMICON, 16 * percent / 100}, std::pair{SM_CXICON, 32 * percent / 100}}) {
      SCOPED_TRACE(testing::Message() << percent << " %, " << side << " px");
      if (metricForDpi != nullptr) {
        EXPECT_EQ(metricForDpi(metric, 96 * percent / 100), side);
      }
      EXPECT_EQ(std::count(std::begin(expectedSizes), std::end(expectedSizes), side), 1);
    }
  }

  DWORD size = 0;
  const BYTE* group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(1), &size);
  ASSERT_NE(group, nullptr) << "no icon group 1";
  const auto* header = reinterpret_cast<const IconGroupHeader*>(group);
  ASSERT_EQ(header->type, 1);
  ASSERT_EQ(header->count, count);
  ASSERT_GE(size, sizeof(IconGroupHeader) + count * sizeof(IconGroupEntry));
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(group + sizeof(IconGroupHeader));

  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(testing::Message() << "image " << i);
    const IconGroupEntry& entry = entries[i];
    EXPECT_EQ(entry.width == 0 ? 256 : entry.width, expectedSizes[i]);
    EXPECT_EQ(entry.height == 0 ? 256 : entry.height, expectedSizes[i]);
    EXPECT_EQ(entry.bitCount, 32);

    // The image itself exists, carries alpha, and the platform makes an icon of the stated size
    // from it.
    DWORD imageSize = 0;
    const BYTE* image = Resource(RT_ICON, MAKEINTRESOURCEW(entry.id), &imageSize);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageSize, entry.bytesInResource);
    const win::Icon icon(CreateIconFromResourceEx(const_cast<BYTE*>(image), imageSize, TRUE,
                                                  0x00030000, 0, 0, LR_DEFAULTCOLOR));
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    const win::Bitmap colour(info.hbmColor);
    const win::Bitmap mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectW(mask.get(), sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, expectedSizes[i]);
    EXPECT_TRUE(HasAlphaChannel(image, imageSize, expectedSizes[i]));
  }
}

TEST_F(ProgramFile, InstructionsPictureIs335By228At24Bits) {
  DWORD size = 0;
  const BYTE* picture = Resource(RT_BITMAP, MAKEINTRESOURCEW(201), &size);
  ASSERT_NE(picture, nullptr);
  ASSERT_GE(size, sizeof(BITMAPINFOHEADER));
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(picture);
  EXPECT_EQ(header->biWidth, 335);
  EXPECT_EQ(header->biHeight, 228);
  EXPECT_EQ(header->biBitCount, 24);
}

BOOL CALLBACK CollectTypeName(HMODULE, LPWSTR type, LONG_PTR names) {
  if (!IS_INTRESOURCE(type)) reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(type);
  return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
  reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
  return TRUE;
}

// The two payloads are the exact import texts, of the type stored as "CUSTOM" (lookups by name
// ignore case), in Chinese (PRC) alone; the loader the commands use finds each under its
// identifier.
TEST_F(ProgramFile, PayloadsAreTheExactImportTextsAndEachCommandLoadsItsOwn) {
  ASSERT_EQ(ExpectedPayload(L"yes").size(), 270u);
  ASSERT_EQ(ExpectedPayload(L"no").size(), 268u);
  std::vector<std::wstring> typeNames;
  EnumResourceTypesW(module_.get(), CollectTypeName, reinterpret_cast<LONG_PTR>(&typeNames));
  EXPECT_EQ(typeNames, std::vector<std::wstring>{L"CUSTOM"});
  struct Payload {
    const app::RegistryPayload* payload;
    WORD id;
    const wchar_t* value;
  };
  for (const Payload& p : {Payload{&app::kShowInlineImages, 101, L"yes"},
                           Payload{&app::kHideInlineImages, 102, L"no"}}) {
    SCOPED_TRACE(testing::Message() << "resource " << p.id);
    EXPECT_EQ(Read(L"custom", p.id, 2052), ExpectedPayload(p.value));
    std::vector<WORD> languages;
    EnumResourceLanguagesW(module_.get(), L"CUSTOM", MAKEINTRESOURCEW(p.id), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages, std::vector<WORD>{2052});
    const app::ResourceBytes loaded = app::LoadPayloadBytes(module_.get(), p.payload->resourceId);
    EXPECT_EQ(Bytes(loaded.data, loaded.data + loaded.size), ExpectedPayload(p.payload->value));
  }
}

}  // namespace
