#include "tests/support/test_paths.h"

#include <algorithm>

namespace testing_support {
namespace {

std::wstring WithBackslashes(std::wstring path) {
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

}  // namespace

std::wstring TestOutputDir() { return WithBackslashes(MORVANE_TEST_OUTPUT) + L"\\"; }

std::wstring TestOutputPath(const std::wstring& fileName) { return TestOutputDir() + fileName; }

std::wstring MorvaneExePath() { return WithBackslashes(MORVANE_EXE); }

std::wstring CommandRecorderPath() { return WithBackslashes(MORVANE_RECORDER); }

std::wstring ShellStandInPath() { return WithBackslashes(MORVANE_SHELL_STAND_IN); }

std::wstring LoadMarkerDir() { return WithBackslashes(MORVANE_LOAD_MARKERS) + L"\\"; }

std::wstring DllSearchProbePath() { return WithBackslashes(MORVANE_DLL_SEARCH_PROBE); }

std::wstring ReleaseReadmePath() { return WithBackslashes(MORVANE_RELEASE_README); }

}  // namespace testing_support
