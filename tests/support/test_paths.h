#pragma once

#include <string>

namespace testing_support {

// Folder under the build tree where tests save pictures and other output, with a trailing
// backslash, e.g. Z:\work\main\build\i686\test-output\ .
std::wstring TestOutputDir();

// Full path of a file in TestOutputDir().
std::wstring TestOutputPath(const std::wstring& fileName);

// Full path of the built program, Morvane.exe, of the same architecture as the test.
std::wstring MorvaneExePath();

}  // namespace testing_support
