// End-to-end: the built program copied into a folder, as into a Downloads folder, beside DLLs named
// as system DLLs that it or the platform might look for there. Each writes a file as a process
// loads it (tests/tools/load_markers). Wine is told to prefer them to its own DLLs, as Windows
// does for every DLL outside its known system DLLs: CTest gives this test program the overrides
// (cmake/Tests.cmake), and every process it starts inherits them.

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/support/running_program.h"
#include "tests/support/test_paths.h"

namespace {

using testing_support::RunningProgram;
using Names = std::set<std::wstring>;

const Names kPlanted = {L"comctl32.dll", L"msimg32.dll", L"uxtheme.dll", L"version.dll"};
constexpr DWORD kExitWaitMs = 20000;

std::wstring Folder() { return testing_support::TestOutputPath(L"downloads\\"); }

// The planted DLLs that processes loaded since the last call; their marker files are removed.
// (File names compare without regard to case: a DLL found through an import may be named in
// capitals.)
Names TakeLoaded() {
  Names loaded;
  for (const std::wstring& name : kPlanted) {
    const std::wstring marker = Folder() + name + L".loaded";
    if (GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    loaded.insert(name);
    DeleteFileW(marker.c_str());
  }
  return loaded;
}

class PlantedDllsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CreateDirectoryW(Folder().c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(testing_support::MorvaneExePath().c_str(),
                          (Folder() + L"Morvane.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(testing_support::DllSearchProbePath().c_str(),
                          (Folder() + L"dll_search_probe.exe").c_str(), FALSE));
    for (const std::wstring& name : kPlanted) {
      ASSERT_TRUE(CopyFileW((testing_support::LoadMarkerDir() + name).c_str(),
                            (Folder() + name).c_str(), FALSE));
    }
  }
  void SetUp() override { TakeLoaded(); }

  // Starts the probe from the folder with these names to load; its exit code, how many it loaded.
  static DWORD RunProbe(const std::wstring& names) {
    const RunningProgram probe(Folder() + L"dll_search_probe.exe", names, false);
    DWORD loaded = 0;
    EXPECT_TRUE(probe.WaitForExit(kExitWaitMs, &loaded));
    return loaded;
  }
};

// The check below would prove nothing if the planted DLLs were not found where the standard
// search looks first, or wrote no file there.
TEST_F(PlantedDllsTest, EachIsLoadedByAProgramThatSearchesItsFolder) {
  EXPECT_EQ(RunProbe(L"msimg32.dll comctl32.dll uxtheme.dll version.dll"), kPlanted.size());
  EXPECT_EQ(TakeLoaded(), kPlanted) << "Wine does not prefer the planted DLLs: the test program "
                                       "needs the overrides of cmake/Tests.cmake";
}

TEST_F(PlantedDllsTest, ProgramLoadsNoneOfThemWithASwitchOrAsAWindow) {
  // What the platform loads into every windowed program before its first line, which no program
  // can prevent: under Wine, version.dll (its user32 imports it; the system's user32 does not).
  RunProbe(L"");
  const Names platform = TakeLoaded();
  for (const wchar_t* name : {L"msimg32.dll", L"comctl32.dll", L"uxtheme.dll"}) {
    EXPECT_FALSE(platform.contains(name)) << "the platform itself loads the planted " << name;
  }

  {
    const RunningProgram program(Folder() + L"Morvane.exe", L"/status", true);
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(kExitWaitMs, &exitCode));
    EXPECT_LE(exitCode, 1u);
    EXPECT_FALSE(program.ReadOutput().empty());
  }
  EXPECT_EQ(TakeLoaded(), platform) << "with /status";

  {
    const RunningProgram program(Folder() + L"Morvane.exe", L"", false);
    const HWND window = program.WaitForWindow(L"Morvane");
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(kExitWaitMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
  }
  EXPECT_EQ(TakeLoaded(), platform) << "as a window";
}

}  // namespace
