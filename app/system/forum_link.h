#pragma once

// The maker's web forum, opened by the link label of the main window.

#include <string>
#include <string_view>

namespace app {

// The address as the label shows it, without a trailing "/".
inline constexpr std::wstring_view kForumAddress = L"http://bbs.example.com";

// The address the link opens: the one shown, with a "/".
inline std::wstring ForumPageAddress() { return std::wstring(kForumAddress) + L"/"; }

// The handler of web addresses that the system's url.dll offers through rundll32.exe.
inline constexpr std::wstring_view kUrlHandlerHost = L"rundll32.exe";

// Arguments for rundll32.exe: the handler entry point and the quoted address with a "/".
std::wstring ForumHandlerArguments();

// Opens the forum page with the system's handler for web addresses, in a normal window.
void OpenForum();

}  // namespace app
