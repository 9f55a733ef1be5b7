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
  kNotStarted,  // it could not be started (missing, refused, elevation declined)
  kTimedOut,    // it did not end in time and was stopped
};

// Full path of regedit.exe in the Windows directory. The editor is never looked up through the
// search path, where a program planted beside ours or in the current directory would win.
std::wstring RegistryEditorPath();

// Starts the registry editor with "/s" and the quoted file path in a hidden window and waits up
// to timeoutMs for it to end. The launch goes through the shell with the "open" verb, so that
// where the editor needs elevation the platform asks the user for it. While waiting, the
// top-level window of owner is disabled (no click can reach it) and messages keep flowing so
// it still paints. An editor that overruns the bound is terminated, so that it cannot import
// after the caller has reported the outcome. No handle stays open.
EditorOutcome RunRegistryEditor(HWND owner, const std::wstring& importFile, DWORD timeoutMs);

}  // namespace app
