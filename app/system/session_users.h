#pragma once

// Whose setting the program changes. HKEY_CURRENT_USER is the hive of the account the program
// runs as; after "Run as administrator" with another account's name that is the helper's
// account, not the person signed in at this session, whose desktop the shell shows.

#include <windows.h>

#include <string>
#include <vector>

#include "win/unique_handle.h"

namespace app {

// One account: its security identifier as bytes and its name ("DOMAIN\name"); where the name
// cannot be looked up, the identifier in its string form ("S-1-5-21-..."), and empty only where
// that cannot be made either.
struct Account {
  std::vector<BYTE> sid;
  std::wstring name;
};

// What is known of the shell's owner.
enum class ShellOwner {
  kNoShell,  // this session shows no shell window (none runs, or it runs on another desktop)
  kKnown,    // the owner of the shell's process, in shell
  kHidden,   // the shell's process or its token refused to be read: another account's
};

// The program's user (its process token's) and the owner of this session's shell process.
struct SessionUsers {
  Account program;  // sid empty when the program's own token could not be read
  ShellOwner shellOwner = ShellOwner::kNoShell;
  Account shell;
};

// Where SessionUsersOf gets the two users from, given the shell window (null when there is
// none); ReadSessionUsers unless a test put another in place.
using SessionUsersSource = SessionUsers (*)(HWND shellWindow);

// Reads the program's user from its process token and the shell's owner from the token of the
// process that owns shellWindow. A user can always read the token of a process of their own, so
// a shell whose process or token refuses to be read belongs to someone else.
SessionUsers ReadSessionUsers(HWND shellWindow);

// The users as the current source gives them.
SessionUsers SessionUsersOf(HWND shellWindow);

// Puts another source in place (a test's) and returns the previous one.
SessionUsersSource SetSessionUsersSource(SessionUsersSource source);

// True for the accounts that services and deployment agents run as: LocalSystem (S-1-5-18),
// LocalService (S-1-5-19) and NetworkService (S-1-5-20). Each has a registry hive of its own and is
// never a person signed in, though a program run as one in session 0 sees no shell to compare with.
bool IsServiceAccount(const std::vector<BYTE>& sid);

// True when a change to HKEY_CURRENT_USER reaches the person signed in: the program's user is no
// service account (IsServiceAccount), and there is no shell to compare with, the program's user is
// unknown, or the shell's owner is the program's user.
bool ActsForSignedInUser(const SessionUsers& users);

// What the program says when it does not act for the person signed in, in its own voice:
// which account it runs as, that if it changed the setting it would change that account's, not
// the signed-in user's, and so nothing was changed.
std::wstring OtherUserSettingNotice(const SessionUsers& users);

// The same for the shell restart: the program does not restart another user's shell.
std::wstring OtherUserRestartNotice(const SessionUsers& users);

// The token of a process, opened with `access`; empty where it cannot be opened, with the error
// in `error` when one is given. OpenProcessToken is looked up in advapi32, never imported: the
// program imports only registry functions from it.
win::KernelHandle OpenProcessTokenOf(HANDLE process, DWORD access, DWORD* error = nullptr);

// True when the program runs with the full token of an administrator who confirmed elevation
// ("Run as administrator", TokenElevationTypeFull), whatever the account. False for the limited
// token of the same administrator, for a standard user, and where the token cannot be read.
bool RunsElevated();

// Whose setting a report of the setting describes: empty when the program acts for the person
// signed in (ActsForSignedInUser), else a sentence that names the account the program runs as
// and says that it is not the signed-in user's setting.
std::wstring WhoseSettingNote(const SessionUsers& users);

}  // namespace app
