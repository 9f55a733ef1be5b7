// Whose setting the commands change: through the seam that supplies the program's user and the
// shell's owner, a program that runs as another account than the person signed in refuses, says
// which account would change, and ends its switches with 1.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/repair/inline_image_commands.h"
#include "app/switches/command_line.h"
#include "app/system/session_users.h"
#include "tests/support/inline_images_value.h"

namespace {

using payload_tests::InlineImagesValue;
using payload_tests::SetInlineImagesValue;

const app::Account kHelper = {{1, 1, 0, 0, 0, 0, 0, 5, 0x20, 0, 0, 0}, L"PC\\helper"};
const app::Account kSignedIn = {{1, 1, 0, 0, 0, 0, 0, 5, 0x21, 0, 0, 0}, L"PC\\signed-in"};

// An administrator helps over the shoulder: the program runs as kHelper, the shell is kSignedIn's.
app::SessionUsers HelperBesideSignedIn(HWND) {
  return {.program = kHelper, .shellOwner = app::ShellOwner::kKnown, .shell = kSignedIn};
}

// The same, where the shell's process refused to tell its owner.
app::SessionUsers HelperBesideHiddenShell(HWND) {
  return {.program = kHelper, .shellOwner = app::ShellOwner::kHidden, .shell = {}};
}

bool Contains(const std::wstring& text, const std::wstring& part) {
  return text.find(part) != std::wstring::npos;
}

TEST(SessionUsers, OnlyTheShellsOwnerOrNoShellToCompareWithActsForTheSignedInUser) {
  using app::ShellOwner;
  EXPECT_TRUE(app::ActsForSignedInUser({kSignedIn, ShellOwner::kKnown, kSignedIn}));
  EXPECT_TRUE(app::ActsForSignedInUser({kHelper, ShellOwner::kNoShell, {}}));
  EXPECT_TRUE(app::ActsForSignedInUser({{}, ShellOwner::kKnown, kSignedIn})) << "own user unknown";
  EXPECT_FALSE(app::ActsForSignedInUser({kHelper, ShellOwner::kKnown, kSignedIn}));
  EXPECT_FALSE(app::ActsForSignedInUser({kHelper, ShellOwner::kHidden, {}}));
  // Read from the tokens: this test and the prefix's desktop process run as the same user.
  const app::SessionUsers read = app::ReadSessionUsers(GetDesktopWindow());
  EXPECT_FALSE(read.program.sid.empty());
  EXPECT_FALSE(read.program.name.empty());
  EXPECT_EQ(read.shellOwner, ShellOwner::kKnown);
  EXPECT_EQ(read.shell.sid, read.program.sid);
  EXPECT_TRUE(app::ActsForSignedInUser(read));
  EXPECT_EQ(app::ReadSessionUsers(nullptr).shellOwner, ShellOwner::kNoShell);
}

TEST(SessionUsers, ForAnotherAccountTheCommandsChangeNothingAndSayWhichAccountWouldChange) {
  payload_tests::InlineImagesValueKeeper keeper;
  for (const app::SessionUsersSource source : {HelperBesideSignedIn, HelperBesideHiddenShell}) {
    SCOPED_TRACE(source == HelperBesideSignedIn ? "shell's owner known" : "shell's owner hidden");
    ASSERT_TRUE(SetInlineImagesValue(std::wstring(L"no")));
    const app::SessionUsersSource previous = app::SetSessionUsersSource(source);
    const app::InlineImagesOutcome outcome =
        app::ApplyInlineImageCommand(nullptr, app::kShowCommand);
    const int exitCode = app::RunCommandSwitch(app::CommandSwitch::kShow);
    app::SetSessionUsersSource(previous);

    EXPECT_FALSE(outcome.holds);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(InlineImagesValue(), std::wstring(L"no")) << "the program's own account changed";
    const std::wstring report = app::InlineImagesReport(app::kShowCommand, outcome, L"\n");
    EXPECT_FALSE(Contains(report, app::kShowCommand.successText));
    EXPECT_TRUE(Contains(report, L"改变的只是账户“PC\\helper”的设置")) << "which account";
    EXPECT_TRUE(Contains(report, L"没有做任何更改"));
    EXPECT_TRUE(Contains(report, source == HelperBesideSignedIn ? L"当前登录的是账户“PC\\signed-in”"
                                                                : L"当前登录的是另一个账户"));
  }
}

}  // namespace
