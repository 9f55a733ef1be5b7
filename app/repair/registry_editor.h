#pragma once

// Runs the system registry editor silently on an import file and waits, within a bound, for it
// to finish, keeping the caller's window painted meanwhile.

#include <windows.h>

#include <string>

namespace app {

// How long the editor may take before the import counts as failed. An import of a few lines
// takes well under a second; the bound only keeps a hung editor from holding the window.
inline constexpr DWORD kRegistryEditorTimeoutMs = 10000;

enum class EditorOutcome {
  kFinished,    // the editor ran and ended
  kNotStarted,  // it could not be started (missing, refused, or it insists on elevation)
  kTimedOut,    // it did not end in time and was stopped
};

// Full path of regedit.exe in the Windows directory. The editor is never looked up through the
// search path, where a program planted beside ours or in the current directory would win.
std::wstring RegistryEditorPath();

// The command line the editor is started with: its quoted full path, "/s" and the quoted file.
std::wstring RegistryEditorCommandLine(const std::wstring& importFile);

// Starts the registry editor with RegistryEditorCommandLine in a hidden window and waits up to
// timeoutMs for it to end. The editor runs with the caller's own rights and never asks for
// elevation: the value it changes is the user's own, and an elevated editor would read an
// import file that any program of the user can replace. The process is created directly (never
// through the shell's elevation) with the compatibility layer told to run it as the invoker;
// the variable that says so is in this program's environment only while the child is created.
// Where the platform still insists on elevation the start fails. While waiting, the
// top-level window of owner is disabled (no click can reach it) and messages keep flowing so
// it still paints. An editor that overruns the bound is terminated, so that it cannot import
// after the caller has reported the outcome. No handle stays open.
EditorOutcome RunRegistryEditor(HWND owner, const std::wstring& importFile, DWORD timeoutMs);

// What the policy value DisableRegistryTools (per user or for the machine) says of the registry
// editor. The program reads the policy and never changes it.
enum class EditorPolicy {
  kAllowed,        // no value, or 0
  kSilentAllowed,  // another value (2 blocks only the editor's window): silent imports still run
  kBlocked,        // 1, the stronger of the two places winning: the editor refuses to run at all
};
EditorPolicy RegistryEditorPolicy();

}  // namespace app
