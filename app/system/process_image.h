#pragma once

// Which program a process runs, and whether two paths name the same file, so that the program acts
// on a process only when it runs the program it means.

#include <windows.h>

#include <string>

namespace app {

// The full path of the process's program (QueryFullProcessImageName; the handle needs
// PROCESS_QUERY_LIMITED_INFORMATION); empty when it cannot be read.
std::wstring ProcessImagePath(HANDLE process);

// Whether the two full paths name the same file: compared without regard to case, each in its
// long form, so that a short (8.3) spelling of the same file compares equal. False when either is
// empty.
bool SameFilePath(const std::wstring& one, const std::wstring& other);

}  // namespace app
