// Whose setting the commands change: through the seam that supplies the program's user and the
// shell's owner, a program that runs as another account than the person signed in refuses, says
// which account would change, and ends its switches with 1; its tooltip and /status say whose
// setting they describe.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/repair/inline_image_commands.h"
#include "app/repair/inline_images_status.h"
#include "app/switches/command_line.h"
#include "app/system/session_users.h"
#include "tests/support/inline_images_value.h"
#include "win/unique_handle.h"

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
    EXPECT_TRUE(Contains(report, L"如果在这里更改内嵌图片，更改的将是账户“PC\\helper”的设置"))
        << "which account";
    EXPECT_TRUE(Contains(report, L"未做任何更改"));
    EXPECT_TRUE(Contains(report, source == HelperBesideSignedIn
                                     ? L"而当前登录的用户是“PC\\signed-in”"
                                     : L"而当前登录的是另一个账户"));
  }
}

// What /status writes in this process, read from a pipe put in place of its standard output.
std::string StatusOutput() {
  HANDLE read = nullptr, write = nullptr;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  if (!CreatePipe(&read, &write, &inherit, 0)) return {};
  const win::KernelHandle reader(read), writer(write);
  const HANDLE previous = GetStdHandle(STD_OUTPUT_HANDLE);
  SetStdHandle(STD_OUTPUT_HANDLE, writer.get());
  app::RunCommandSwitch(app::CommandSwitch::kStatus);
  SetStdHandle(STD_OUTPUT_HANDLE, previous);
  std::string bytes(4096, '\0');
  DWORD got = 0;
  ReadFile(reader.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  return bytes;
}

// The line as WriteLine encodes it for a pipe: in the console's code page, or the system's.
bool IsLineOf(const std::string& bytes, const std::wstring& text) {
  const std::wstring line = text + L"\r\n";
  return bytes == app::EncodeOutputLine(line, GetConsoleOutputCP()) ||
         bytes == app::EncodeOutputLine(line, GetACP());
}

// Run as another account, the tooltip's sentence (the same as the accessible description's) and
// /status say whose setting they describe; for the signed-in user they say the state alone.
TEST(SessionUsers, ForAnotherAccountTheStatusNamesWhoseSettingItIs) {
  payload_tests::InlineImagesValueKeeper keeper;
  ASSERT_TRUE(SetInlineImagesValue(std::wstring(L"yes")));
  const std::wstring shown = L"内嵌图片当前为显示状态。";
  const std::wstring whose =
      L"这是本程序运行所用的账户“PC\\helper”的设置，"
      L"而不是当前登录的用户“PC\\signed-in”的设置。";
  const app::SessionUsersSource previous = app::SetSessionUsersSource(HelperBesideSignedIn);
  const std::wstring helperTooltip = app::CurrentInlineImagesStatusText();
  const std::string helperStatus = StatusOutput();
  app::SetSessionUsersSource(previous);
  EXPECT_EQ(helperTooltip, shown + whose);
  EXPECT_TRUE(IsLineOf(helperStatus, shown + whose)) << helperStatus;

  EXPECT_EQ(app::CurrentInlineImagesStatusText(), shown) << "the prefix's user is signed in";
  EXPECT_TRUE(IsLineOf(StatusOutput(), shown));
}

}  // namespace
