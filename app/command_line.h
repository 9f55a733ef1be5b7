#pragma once

// The program's switches, for scripts: apply or query the inline-image setting without a window.

#include <windows.h>

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
inline constexpr int kExitNotHeld = 1;    // the value does not hold; /status: pictures hidden
inline constexpr int kExitBadSwitch = 2;  // an unknown switch, or more than one; nothing done
inline constexpr int kExitUsage = 0;      // /?

// The switch of a whole command line as GetCommandLineW gives it (the program's name first).
// Switches start with "/" or "-" and compare without regard to case.
CommandSwitch ParseCommandLine(const wchar_t* commandLine);

// Runs a switch other than kNone and returns the program's exit code. When the program was
// started from a console, or with its output redirected, one line of result or usage goes
// there; otherwise the usage appears in a message box and a result only as the exit code.
int RunCommandSwitch(CommandSwitch commandSwitch);

}  // namespace app
