#pragma once

// The accounts of the tests that run the program as another account than the person signed in,
// through the seam that supplies the program's user and the shell's owner
// (app::SetSessionUsersSource), and of the sentences that name them.

#include <windows.h>

#include "app/system/session_users.h"

namespace testing_support {

// An administrator who helps over the shoulder, and the person signed in.
inline const app::Account kHelper = {{1, 1, 0, 0, 0, 0, 0, 5, 0x20, 0, 0, 0}, L"PC\\helper"};
inline const app::Account kSignedIn = {{1, 1, 0, 0, 0, 0, 0, 5, 0x21, 0, 0, 0}, L"PC\\signed-in"};
// A deployment tool runs the program as SYSTEM in session 0, where no shell shows.
inline const app::Account kSystem = {{1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0},
                                     L"NT AUTHORITY\\SYSTEM"};

// Sources for the seam: the program runs as kHelper and the shell is kSignedIn's, or the shell's
// process refused to tell its owner; or it runs as SYSTEM without a shell.
inline app::SessionUsers HelperBesideSignedIn(HWND = nullptr) {
  return {.program = kHelper, .shellOwner = app::ShellOwner::kKnown, .shell = kSignedIn};
}
inline app::SessionUsers HelperBesideHiddenShell(HWND = nullptr) {
  return {.program = kHelper, .shellOwner = app::ShellOwner::kHidden, .shell = {}};
}
inline app::SessionUsers SystemWithoutShell(HWND = nullptr) {
  return {.program = kSystem, .shellOwner = app::ShellOwner::kNoShell, .shell = {}};
}

}  // namespace testing_support
