// Loading a system DLL both ways the loader may understand: by the search flag, and by the full
// path that a loader without it is given. Either way the DLL comes from the system directory, a
// name with a path is refused, and a missing DLL loads nothing.

#include "win/dll_search.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_paths.h"

namespace {

using win::SystemLibrarySearch;

std::wstring Lower(std::wstring text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  return Lower(std::wstring(path, length));
}

std::wstring SystemDirectoryLower() {
  wchar_t directory[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  return Lower(std::wstring(directory, length));
}

// The current directory holds stand-ins of the same names, which must not be taken.
TEST(LoadSystemLibrary, TakesTheSystemDllEitherWayAndRefusesPathsAndMissingNames) {
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(testing_support::LoadMarkerDir().c_str()));
  struct Case {
    SystemLibrarySearch search;
    const wchar_t* name;  // not loaded by the test program before
  };
  const Case cases[] = {{SystemLibrarySearch::kFullPath, L"msimg32.dll"},
                        {SystemLibrarySearch::kSearchFlag, L"uxtheme.dll"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "full path: " << (c.search == SystemLibrarySearch::kFullPath)
                                    << ", " << std::string(c.name, c.name + wcslen(c.name)));
    const HMODULE module = win::LoadSystemLibrary(c.name, c.search);
    ASSERT_NE(module, nullptr) << GetLastError();
    EXPECT_EQ(ModulePath(module), SystemDirectoryLower() + L"\\" + Lower(c.name));
    FreeLibrary(module);

    for (const wchar_t* withPath :
         {L"C:\\Windows\\system32\\msimg32.dll", L"sub/msimg32.dll", L"c:msimg32.dll", L""}) {
      SetLastError(0);
      EXPECT_EQ(win::LoadSystemLibrary(withPath, c.search), nullptr);
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
    }
    SetLastError(0);
    EXPECT_EQ(win::LoadSystemLibrary(L"no-such-morvane-dll.dll", c.search), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  }
  SetCurrentDirectoryW(previous);
}

}  // namespace
