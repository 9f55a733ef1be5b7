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

// Full path of command_recorder.exe, which end-to-end tests put in place of system programs.
std::wstring CommandRecorderPath();

// Full path of shell_stand_in.exe, which stands in for the session's shell.
std::wstring ShellStandInPath();

// Folder of the DLLs that stand in for system DLLs left beside a program
// (tests/tools/load_markers), with a trailing backslash.
std::wstring LoadMarkerDir();

// Full path of dll_search_probe.exe, which loads DLLs by bare name.
std::wstring DllSearchProbePath();

// Full path of the README.txt of the download as the release writes it (UTF-8, LF line ends,
// {version} not yet filled in).
std::wstring ReleaseReadmePath();

}  // namespace testing_support
