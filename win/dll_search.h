#pragma once

// Where the program's DLLs come from. People run the program from their Downloads folder, where
// any web page can leave a file behind, and Windows looks in a program's own folder first for
// every DLL outside its short list of known system DLLs. So the program imports only known system
// DLLs (a test, program_imports, checks its import table), and every later load names the system
// directory.

#include <windows.h>

#include <string>
#include <string_view>

#include "win/module_function.h"

namespace win {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

// SetDefaultDllDirectories, which Windows 7 SP1 has only with update KB2533623; null without it.
inline SetDefaultDllDirectoriesFunction DefaultDllDirectoriesFunction() {
  return LoadedModuleFunction<SetDefaultDllDirectoriesFunction>(L"kernel32.dll",
                                                                "SetDefaultDllDirectories");
}

// True where RestrictDllSearchToSystem keeps the program's folder out of every later DLL load.
// Without SetDefaultDllDirectories it takes only the current directory out of the search, and
// the program's folder is still searched for DLLs that the system loads by name on its behalf.
inline bool CanRestrictDllSearch() { return DefaultDllDirectoriesFunction() != nullptr; }

// Restricts every DLL load that follows, the platform's own on the program's behalf included, to
// the system directory: neither the program's folder nor the current directory is searched.
// SetDefaultDllDirectories is looked up, since older systems lack it; there SetDllDirectoryW
// still takes the current directory out of the search.
inline void RestrictDllSearchToSystem() {
  if (const auto setDefaultDirectories = DefaultDllDirectoriesFunction()) {
    setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  SetDllDirectoryW(L"");
}

// How LoadSystemLibrary names the system directory to the loader.
enum class SystemLibrarySearch {
  kSearchFlag,  // LOAD_LIBRARY_SEARCH_SYSTEM32: the DLL and its dependencies from there only
  kFullPath,    // the DLL by its full path; its dependencies from its own directory first
};

// The way this system's loader understands. The search flags came with the same update as
// SetDefaultDllDirectories (Windows 7 SP1 with KB2533623): LoadLibraryExW's documentation says
// LOAD_LIBRARY_SEARCH_SYSTEM32 needs that update, and SetDefaultDllDirectories' says to look the
// function up with GetProcAddress there. What an older loader returns for the unknown flag is not
// documented, and field reports from such systems only see the call fail (x64dbg/ScyllaHide,
// "Failed to find user32.dll/win32u.dll syscalls": the flag did not work until KB2533623 was
// installed), so the choice is made by the capability, not by an error code.
inline SystemLibrarySearch SystemLibrarySearchOfThisSystem() {
  return CanRestrictDllSearch() ? SystemLibrarySearch::kSearchFlag : SystemLibrarySearch::kFullPath;
}

// Loads the DLL of this bare file name from the system directory and nowhere else, the way
// `search` says (by default the one this system's loader understands). Null when it is not
// there, and null with ERROR_INVALID_NAME for a name that carries a path.
inline HMODULE LoadSystemLibrary(std::wstring_view fileName,
                                 SystemLibrarySearch search = SystemLibrarySearchOfThisSystem()) {
  if (fileName.empty() || fileName.find_first_of(L"\\/:") != std::wstring_view::npos) {
    SetLastError(ERROR_INVALID_NAME);
    return nullptr;
  }
  const std::wstring name(fileName);
  if (search == SystemLibrarySearch::kSearchFlag) {
    return LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  wchar_t directory[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(directory, length) + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace win
