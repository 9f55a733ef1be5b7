// Whose setting the commands change: through the seam that supplies the program's user and the
// shell's owner, a program that runs as another account than the person signed in refuses, says
// which account would change, and ends its switches with an exit code of its own; its tooltip
// and /status say whose setting they describe.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/repair/inline_image_commands.h"
#include "app/repair/inline_images_status.h"
#include "app/switches/command_line.h"
#include "app/system/session_users.h"
#include "tests/support/inline_images_value.h"
#include "tests/support/session_accounts.h"
#include "win/unique_handle.h"

namespace {

using payload_tests::InlineImagesValue;
using payload_tests::SetInlineImagesValue;
using testing_support::HelperBesideHiddenShell;
using testing_support::HelperBesideSignedIn;
using testing_support::kHelper;
using testing_support::kSignedIn;
using testing_support::kSystem;
using testing_support::SystemWithoutShell;

// Another account, as each source gives it, what the notice says of the signed-in user, and the
// note after the state that the tooltip and /status give.
struct OtherAccountCase {
  const char* what;
  app::SessionUsersSource source;
  const wchar_t* account;        // the account the program runs as, as the notice names it
  const wchar_t* signedIn;       // what the notice says of the signed-in user
  const wchar_t* advice;         // what to do instead
  const wchar_t* signedInNamed;  // the signed-in user as the status names them
};
constexpr wchar_t kNotAsAdministrator[] = L"不要用其他账户“以管理员身份运行”";
const OtherAccountCase kOtherAccounts[] = {
    {"shell's owner known", HelperBesideSignedIn, L"账户“PC\\helper”",
     L"而当前登录的用户是“PC\\signed-in”", kNotAsAdministrator, L"“PC\\signed-in”"},
    {"shell's owner hidden", HelperBesideHiddenShell, L"账户“PC\\helper”",
     L"而当前登录的是另一个账户", kNotAsAdministrator, L""},
    {"SYSTEM without a shell", SystemWithoutShell, L"账户“NT AUTHORITY\\SYSTEM”",
     L"这是系统的服务账户，不是当前登录的用户", L"在部署工具中选择以当前登录的用户的身份运行本程序",
     L""},
};

bool Contains(const std::wstring& text, const std::wstring& part) {
  return text.find(part) != std::wstring::npos;
}

TEST(SessionUsers, OnlyTheShellsOwnerOrNoShellToCompareWithActsForTheSignedInUser) {
  using app::ShellOwner;
  EXPECT_TRUE(app::ActsForSignedInUser({kSignedIn, ShellOwner::kKnown, kSignedIn}));
  EXPECT_TRUE(app::ActsForSignedInUser({kHelper, ShellOwner::kNoShell, {}}));
  EXPECT_FALSE(app::ActsForSignedInUser({kSystem, ShellOwner::kNoShell, {}})) << "session 0";
  EXPECT_FALSE(app::ActsForSignedInUser({kSystem, ShellOwner::kKnown, kSystem}))
      << "a shell of SYSTEM's own is nobody's desktop either";
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

// The three accounts services run as, and nothing that merely resembles them.
TEST(SessionUsers, OnlyTheThreeServiceAccountsCountAsServiceAccounts) {
  struct Case {
    const char* what;
    std::vector<BYTE> sid;
    bool service;
  };
  const Case cases[] = {
      {"LocalSystem S-1-5-18", {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0}, true},
      {"LocalService S-1-5-19", {1, 1, 0, 0, 0, 0, 0, 5, 19, 0, 0, 0}, true},
      {"NetworkService S-1-5-20", {1, 1, 0, 0, 0, 0, 0, 5, 20, 0, 0, 0}, true},
      {"S-1-5-17 (IUSR)", {1, 1, 0, 0, 0, 0, 0, 5, 17, 0, 0, 0}, false},
      {"S-1-5-21 alone", {1, 1, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0}, false},
      {"S-1-5-274 (18 in the low byte)", {1, 1, 0, 0, 0, 0, 0, 5, 18, 1, 0, 0}, false},
      {"S-1-5-18-1 (two sub-authorities)",
       {1, 2, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0, 1, 0, 0, 0},
       false},
      {"S-1-16-18 (another authority)", {1, 1, 0, 0, 0, 0, 0, 16, 18, 0, 0, 0}, false},
      {"a user of the domain", {1, 2, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0, 0xE9, 3, 0, 0}, false},
      {"unknown (empty)", {}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(app::IsServiceAccount(c.sid), c.service) << c.what;
  const app::SessionUsers read = app::ReadSessionUsers(nullptr);
  EXPECT_FALSE(app::IsServiceAccount(read.program.sid)) << "this test runs as a user";
}

// What /status writes in this process, read from a pipe put in place of its standard output, and
// its exit code.
std::string StatusOutput(int* exitCode = nullptr) {
  HANDLE read = nullptr, write = nullptr;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  if (!CreatePipe(&read, &write, &inherit, 0)) return {};
  const win::KernelHandle reader(read), writer(write);
  const HANDLE previous = GetStdHandle(STD_OUTPUT_HANDLE);
  SetStdHandle(STD_OUTPUT_HANDLE, writer.get());
  const int code = app::RunCommandSwitch(app::CommandSwitch::kStatus);
  if (exitCode != nullptr) *exitCode = code;
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

// Run as another account, a command changes nothing, says which account would have changed, and
// its switch ends with the exit code of its own; /status too, whatever the account's setting. The
// tooltip's sentence (the same as the accessible description's) and /status's line say whose
// setting they describe; for the signed-in user they say the state alone.
TEST(SessionUsers, ForAnotherAccountNothingChangesAndEveryResultSaysWhoseSettingItIs) {
  const std::wstring shown = L"内嵌图片当前为显示状态。";
  payload_tests::InlineImagesValueKeeper keeper;
  for (const OtherAccountCase& c : kOtherAccounts) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(SetInlineImagesValue(std::wstring(L"no")));
    const app::SessionUsersSource previous = app::SetSessionUsersSource(c.source);
    const app::InlineImagesOutcome outcome =
        app::ApplyInlineImageCommand(nullptr, app::kShowCommand);
    const int showExit = app::RunCommandSwitch(app::CommandSwitch::kShow);
    const int hideExit = app::RunCommandSwitch(app::CommandSwitch::kHide);
    const std::wstring valueAfterHide = InlineImagesValue().value_or(L"(none)");
    ASSERT_TRUE(SetInlineImagesValue(std::wstring(L"yes")));
    int statusExit = 0;
    const std::string status = StatusOutput(&statusExit);
    const std::wstring tooltip = app::CurrentInlineImagesStatusText();
    app::SetSessionUsersSource(previous);

    EXPECT_FALSE(outcome.holds);
    EXPECT_EQ(showExit, app::kExitOtherAccount);
    EXPECT_EQ(hideExit, app::kExitOtherAccount);
    EXPECT_EQ(statusExit, app::kExitOtherAccount) << "not 0 for another account's shown pictures";
    EXPECT_EQ(valueAfterHide, L"no") << "the program's own account changed";
    const std::wstring report = app::InlineImagesReport(app::kShowCommand, outcome, L"\n");
    EXPECT_FALSE(Contains(report, app::kShowCommand.successText));
    EXPECT_TRUE(Contains(
        report, std::wstring(L"如果在这里更改内嵌图片，更改的将是") + c.account + L"的设置"))
        << "which account";
    EXPECT_TRUE(Contains(report, L"未做任何更改"));
    EXPECT_TRUE(Contains(report, c.signedIn));
    EXPECT_TRUE(Contains(report, c.advice));
    const std::wstring whose = std::wstring(L"这是本程序运行所用的") + c.account +
                               L"的设置，而不是当前登录的用户" + c.signedInNamed + L"的设置。";
    EXPECT_EQ(tooltip, shown + whose);
    EXPECT_TRUE(IsLineOf(status, shown + whose)) << status;
  }
  EXPECT_EQ(app::CurrentInlineImagesStatusText(), shown) << "the prefix's user is signed in";
  EXPECT_TRUE(IsLineOf(StatusOutput(), shown));
  // The exit codes a deployment tool reads as a restart or a retry are none of the program's.
  for (const int code : {app::kExitHolds, app::kExitNotHeld, app::kExitBadSwitch,
                         app::kExitHeldByPolicy, app::kExitOtherAccount}) {
    EXPECT_NE(code, 3010);
    EXPECT_NE(code, 1641);
    EXPECT_NE(code, 1618);
  }
  EXPECT_NE(app::kExitOtherAccount, app::kExitNotHeld);
  EXPECT_NE(app::kExitOtherAccount, app::kExitBadSwitch);
  EXPECT_NE(app::kExitOtherAccount, app::kExitHeldByPolicy);
}

}  // namespace
