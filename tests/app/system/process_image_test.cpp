// Which program a process runs, and when two paths name the same file: the check that keeps the
// restart from ending a shell that is not the native Explorer.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/system/process_image.h"

namespace {

std::wstring ThisProgram() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, length);
}

std::wstring ShortForm(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH] = {};
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(shortPath, length) : std::wstring();
}

TEST(ProcessImage, IsTheFullPathOfTheProcesssProgram) {
  EXPECT_TRUE(app::SameFilePath(app::ProcessImagePath(GetCurrentProcess()), ThisProgram()));
  EXPECT_EQ(app::ProcessImagePath(nullptr), L"") << "no process, no path";
}

TEST(SameFilePath, ComparesWholePathsWithoutRegardToCaseOrShortNames) {
  const std::wstring program = ThisProgram();
  std::wstring upper = program;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
  const std::wstring shortForm = ShortForm(program);
  struct Case {
    const char* name;
    std::wstring one, other;
    bool same;
  };
  const Case cases[] = {
      {"itself", program, program, true},
      {"in capitals", program, upper, true},
      {"by its short name", shortForm.empty() ? program : shortForm, program, true},
      {"the same name in another folder", L"C:\\Windows\\explorer.exe",
       L"C:\\Windows\\System32\\explorer.exe", false},
      {"a name alone", L"explorer.exe", L"C:\\Windows\\explorer.exe", false},
      {"a longer path", L"C:\\Windows\\explorer.exe", L"C:\\Windows\\explorer.exe.bak", false},
      {"nothing", L"", L"", false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    EXPECT_EQ(app::SameFilePath(test.one, test.other), test.same);
  }
}

}  // namespace
