#pragma once

// The maker's web forum, opened by the link label of the main window.

#include <windows.h>

#include <string>
#include <string_view>

#include "app/system/desktop_shell.h"
#include "app/system/session_users.h"

namespace app {

// The address as the label shows it, without a trailing "/".
inline constexpr std::wstring_view kForumAddress = L"http://bbs.example.com";

// The address the link opens: the one shown, with a "/".
inline std::wstring ForumPageAddress() { return std::wstring(kForumAddress) + L"/"; }

// The handler of web addresses that the system's url.dll offers through rundll32.exe.
inline constexpr std::wstring_view kUrlHandlerHost = L"rundll32.exe";

// Arguments for rundll32.exe: the handler entry point and the quoted address with a "/".
std::wstring ForumHandlerArguments();

// What opening the forum depends on, so that a test can take either way under Wine (which reports
// its processes as elevated).
using DesktopShellOpen = HRESULT (*)(const std::wstring& target, int showCommand);
struct ForumLinkSeams {
  bool (*elevated)() = RunsElevated;
  DesktopShellOpen openThroughDesktopShell = OpenThroughDesktopShell;
};

// Test seam, not for the program: replaces what OpenForum depends on and returns what it replaces.
ForumLinkSeams SetForumLinkSeamsForTesting(const ForumLinkSeams& seams);

// Why the forum did not open, and how to open it: the program runs elevated and would not pass
// that on to the browser, and the desktop's shell could not open it as the desktop user.
std::wstring ForumNotOpenedText();

// Opens the forum page in a normal window, never with more rights than the desktop has. Not
// elevated, the program starts the system's handler for web addresses itself. Elevated, it asks
// the desktop's shell to open the page as the person signed in; where the shell cannot, it
// opens nothing and says why in a box owned by `owner`.
void OpenForum(HWND owner);

}  // namespace app
