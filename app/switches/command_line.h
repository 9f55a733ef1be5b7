#pragma once

// The program's switches, for scripts: apply or query the inline-image setting without a window.

#include <windows.h>

#include <string>
#include <string_view>

namespace app {

enum class CommandSwitch {
  kNone,     // no switch: the program opens its main window as usual
  kShow,     // /show: apply the show command
  kHide,     // /hide: apply the hide command
  kStatus,   // /status: report the setting, change nothing
  kUsage,    // /?: the usage
  kInvalid,  // anything else
};

// Exit codes of the switches.
inline constexpr int kExitHolds = 0;      // the value now holds; /status: pictures shown
inline constexpr int kExitNotHeld = 1;    // the value does not hold; /status: anything but shown
inline constexpr int kExitBadSwitch = 2;  // an unknown switch, or more than one; nothing done
// A Group Policy holds the setting: /show and /hide changed nothing (/show under a policy that
// holds pictures shown ends with kExitHolds); /status: a policy holds pictures hidden.
inline constexpr int kExitHeldByPolicy = 3;
inline constexpr int kExitUsage = 0;  // /?
// /show, /hide and /status run as another account than the person signed in (SYSTEM included):
// nothing changed, and the line says whose setting it would have been. A code of its own, so that
// a deployment tool's report tells it from a failure; like every code here, none that deployment
// tools read as a restart or a retry (3010, 1641, 1618).
inline constexpr int kExitOtherAccount = 4;

// True when the command line (as GetCommandLineW gives it) holds the program's name and nothing
// but spaces and tabs after it: the name read as CommandLineToArgvW reads it, to the closing quote
// when it starts with one (to the end when there is none), else to the first space or tab.
bool NamesProgramOnly(std::wstring_view commandLine);

// The switch of a whole command line as GetCommandLineW gives it (the program's name first).
// Switches start with "/" or "-" and compare without regard to case.
CommandSwitch ParseCommandLine(const wchar_t* commandLine);

// Runs a switch other than kNone and returns the program's exit code. The result (a line, or two
// for /status on Windows 7 without KB2533623) or the usage goes to the program's standard output
// (or its standard error when it has no output), whatever that is: a console, a file, a pipe or
// NUL; with neither, to the console the program was started from. Only a program with none of
// these, started from a shortcut for example, shows the usage in a message box and a result only as
// its exit code.
int RunCommandSwitch(CommandSwitch commandSwitch);

// The usage that /? shows: a line that names the switches, then one line for each switch and one
// for any other argument (UsageLineText), separated by CRLF, without one at the end.
std::wstring UsageText();

// One line of the usage: indented, "Morvane " and the switch in a column of its own, then what
// it does; without a switch, the text alone after the indent. The README.txt of the download
// holds the same lines (scripts/release_readme.py formats them the same way).
std::wstring UsageLineText(const wchar_t* switchName, const wchar_t* text);

// What /status writes: the sentence for the setting as it is now and, on a system where the program
// cannot keep DLLs beside it from being loaded (Windows 7 SP1 without update KB2533623), a second
// line that says so. Lines are separated by CRLF, without one at the end.
std::wstring StatusReport(const std::wstring& status, bool dllSearchRestricted);

// A line of text as bytes for a file or pipe: in codePage (the console's, or the system's when
// there is no console) when every character converts there exactly, else in UTF-8, so that no
// character is lost to a stand-in that nobody notices.
std::string EncodeOutputLine(const std::wstring& text, UINT codePage);

}  // namespace app
