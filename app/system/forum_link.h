#pragma once

// The maker's web forum, opened by the link label of the main window.

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <string_view>

#include "app/system/desktop_shell.h"
#include "app/system/session_users.h"

namespace app {

// The address as the label shows it, without a trailing "/".
inline constexpr std::wstring_view kForumAddress = L"http://bbs.example.com";

// The address the link opens: the one shown, with a "/".
inline std::wstring ForumPageAddress() { return std::wstring(kForumAddress) + L"/"; }

// ShellExecuteExW of shell32, which the program does not import: shell32 is loaded from the
// system directory at the first call and kept. FALSE with the loader's error where it cannot be.
BOOL WINAPI ShellExecuteThroughShell32(SHELLEXECUTEINFOW* info);

// What opening the forum depends on, so that a test can take either way under Wine (which reports
// its processes as elevated) and see what each asked for.
using DesktopShellOpen = HRESULT (*)(const std::wstring& target, int showCommand);
struct ForumLinkSeams {
  bool (*elevated)() = RunsElevated;
  DesktopShellOpen openThroughDesktopShell = OpenThroughDesktopShell;
  BOOL(WINAPI* shellExecute)(SHELLEXECUTEINFOW* info) = ShellExecuteThroughShell32;
};

// Test seam, not for the program: replaces what OpenForum depends on and returns what it replaces.
ForumLinkSeams SetForumLinkSeamsForTesting(const ForumLinkSeams& seams);

// Why the forum did not open, and how to open it. Elevated, the program would not pass its rights
// on to the browser, and the desktop's shell could not open the page as the desktop user; not
// elevated, the system could not open it.
std::wstring ForumNotOpenedText(bool elevated);

// Opens the forum page in a normal window, never with more rights than the desktop has. Not
// elevated, the program asks the system to open the address as Windows opens links
// (ShellExecuteEx). Elevated, it asks the desktop's shell to open the page as the person signed
// in. `owner` is disabled during the call, which can take long and dispatches messages meanwhile;
// where nothing opened and the window is still there, a box owned by it says why and what to do.
void OpenForum(HWND owner);

}  // namespace app
