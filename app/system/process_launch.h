#pragma once

// Starting the system's own programs. A program is always named by its full path, in the system
// directory or, for the registry editor and Explorer, in the Windows directory, and started with
// that directory as its current directory, so that a file of the same name planted beside this
// program, in the user's current directory or early on the search path is never run in its place.

#include <windows.h>

#include <string>
#include <string_view>

#include "win/unique_handle.h"

namespace app {

// The system directory, without a trailing backslash (C:\Windows\system32).
std::wstring SystemDirectory();

// Full path of a program in the system directory.
std::wstring SystemProgramPath(std::wstring_view fileName);

// Full path of a program in the system-wide Windows directory (C:\Windows\explorer.exe); empty
// when the directory is unknown. GetWindowsDirectoryW could name a private per-user directory.
std::wstring WindowsProgramPath(std::wstring_view fileName);

// The command line that starts a system program: its quoted full path, a space, the arguments.
std::wstring SystemCommandLine(std::wstring_view fileName, std::wstring_view arguments);

// Starts program (a full path) with the whole command line (the quoted path first), the current
// directory and the window-show state (SW_HIDE, SW_SHOWNORMAL), without waiting for it. The
// process gets `environment` ("name=value" entries each ended by a null, as UserEnvironmentBlock
// gives them) where it is not empty, and this program's environment otherwise. Returns the
// process's handle, empty when the process could not be created; the thread's handle is closed
// at once.
win::KernelHandle StartProcess(const std::wstring& program, std::wstring commandLine,
                               const std::wstring& directory, WORD showState,
                               const std::wstring& environment = {});

// Starts a system program with the given arguments and window-show state (SW_HIDE,
// SW_SHOWNORMAL) and does not wait for it. Returns false when the process could not be created.
bool StartSystemProgram(std::wstring_view fileName, std::wstring_view arguments, WORD showState);

}  // namespace app
