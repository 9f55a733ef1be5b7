#pragma once

// What the tests of the two repair commands share: the commands as the user meets them, the
// places a payload file could be left in, and the fixture that keeps the user's value, clears any
// policy and altered Internet Options box, and removes payload files before and after each test.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/inline_images_value.h"
#include "tests/support/payload_text.h"
#include "tests/support/pictures.h"
#include "tests/support/program_launch.h"
#include "tests/support/running_form.h"

namespace payload_tests {

inline constexpr wchar_t kTitle[] = L"提示";
// The policy is named neutrally: an administrator may have set it as well as malicious software.
inline constexpr wchar_t kPolicySentence[] =
    L"注意：注册表编辑器已被组策略“阻止访问注册表编辑工具”禁用（位于“用户配置 → 管理模板 → 系统”，"
    L"注册表值 DisableRegistryTools）。此策略可能由管理员设置，也可能由恶意软件设置；"
    L"如果本机的管理员未设置此策略，请用防病毒软件检查本机。";

// One of the two commands as the user meets it.
struct CommandCase {
  const wchar_t* caption;
  const wchar_t* fileName;
  const wchar_t* value;
  const wchar_t* opposite;
  const wchar_t* successText;
  const wchar_t* failureStart;
};
inline const CommandCase kShow = {L"显示内嵌图片",
                                  L"Ykvo.reg",
                                  L"yes",
                                  L"no",
                                  L"“显示内嵌图片”设置成功，刷新后即可生效！",
                                  L"“显示内嵌图片”设置失败"};
inline const CommandCase kHide = {
    L"关闭内嵌图片",          L"Nkvo.reg", L"no", L"yes", L"“关闭内嵌图片”成功，刷新后即可生效！",
    L"“关闭内嵌图片”设置失败"};

inline std::wstring WindowsDirectory() {
  wchar_t directory[MAX_PATH] = {};
  GetSystemWindowsDirectoryW(directory, MAX_PATH);
  return directory;
}

// Every place a payload file could end up: the temporary directory, and the system directory
// in all its views (System32 as this process sees it, SysWOW64, and Sysnative, which a 32-bit
// process reaches the real System32 through).
inline std::vector<std::wstring> PayloadFilePlaces() {
  const std::wstring windows = WindowsDirectory() + L"\\";
  return {TempDirectory(), windows + L"System32\\", windows + L"SysWOW64\\",
          windows + L"Sysnative\\"};
}

// The files in those places named after fileName: "Ykvo*.reg" for "Ykvo.reg".
inline std::vector<std::wstring> PayloadFilesLeft(const std::wstring& fileName) {
  const std::wstring pattern = fileName.substr(0, fileName.rfind(L'.')) + L"*.reg";
  std::vector<std::wstring> left;
  for (const std::wstring& place : PayloadFilePlaces()) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((place + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      left.push_back(place + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  return left;
}

// Removes the payload files wherever they are, before and after each test.
class InlineImageCommands : public testing::Test {
 protected:
  void SetUp() override { RemovePayloadFiles(); }
  void TearDown() override { RemovePayloadFiles(); }

  static void RemovePayloadFiles() {
    for (const wchar_t* name : {kShow.fileName, kHide.fileName}) {
      for (const std::wstring& file : PayloadFilesLeft(name)) {
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
      }
    }
  }

  // Clicks the command's button and returns the box that follows, answered; with a picture name,
  // saves a picture of the box as it stands on the screen first.
  static testing_support::MessageBoxSeen ClickAndAnswer(const RunningForm& program,
                                                        const CommandCase& command,
                                                        const wchar_t* picture = nullptr) {
    HWND button = program.Button(command.caption);
    EXPECT_NE(button, nullptr) << "no button for the command";
    if (button == nullptr) return {};
    RunningForm::Click(button);
    testing_support::MessageBoxSeen box = program.WaitForMessageBox();
    EXPECT_NE(box.window, nullptr) << "no message box after the click";
    if (box.window != nullptr) {
      if (picture != nullptr) SaveBoxPicture(box.window, picture);
      EXPECT_TRUE(testing_support::AnswerMessageBox(box)) << "the box did not close";
    }
    return box;
  }

  // The box of the other process, once it has painted.
  static void SaveBoxPicture(HWND box, const wchar_t* name) {
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    EXPECT_TRUE(launch::WaitUntilPainted(box)) << "the box did not paint";
    RECT area{};
    GetWindowRect(box, &area);
    testing_support::SaveScreenPicture(area, name);
  }

  InlineImagesValueKeeper keeper_;
  // Neither a Group Policy nor an altered Internet Options box, unless a test sets one.
  InlineImagesPolicyValue noPolicy_{std::nullopt};
  PictureBoxMappingValue noChecked_{L"CheckedValue", std::nullopt};
  PictureBoxMappingValue noUnchecked_{L"UncheckedValue", std::nullopt};
};

}  // namespace payload_tests
