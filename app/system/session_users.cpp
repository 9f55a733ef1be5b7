#include "app/system/session_users.h"

#include <sddl.h>  // ConvertSidToStringSidW, declared only: looked up at run time

#include <algorithm>
#include <iterator>

#include "win/module_function.h"
#include "win/unique_handle.h"

namespace app {
namespace {

// The token functions of advapi32 are looked up, never imported: the program imports only
// registry functions from advapi32, whose other exports may be forwarded to DLLs outside the
// known ones before the program restricts its DLL search.
template <typename Function>
Function Advapi32Function(const char* name) {
  return win::LoadedModuleFunction<Function>(L"advapi32.dll", name);
}

}  // namespace

win::KernelHandle OpenProcessTokenOf(HANDLE process, DWORD access, DWORD* error) {
  const auto openProcessToken = Advapi32Function<decltype(&OpenProcessToken)>("OpenProcessToken");
  HANDLE token = nullptr;
  if (openProcessToken != nullptr && openProcessToken(process, access, &token)) {
    return win::KernelHandle(token);
  }
  if (error != nullptr) {
    *error = openProcessToken == nullptr ? ERROR_PROC_NOT_FOUND : GetLastError();
  }
  return {};
}

namespace {

// A security identifier's size: its fixed eight bytes and four for each sub-authority.
size_t SidSize(const BYTE* sid) { return 8 + 4 * size_t{sid[1]}; }

// The user of the process's token; empty, with the error, when it cannot be read.
std::vector<BYTE> TokenUserSid(HANDLE process, DWORD* error) {
  const auto getTokenInformation =
      Advapi32Function<decltype(&GetTokenInformation)>("GetTokenInformation");
  *error = ERROR_PROC_NOT_FOUND;
  if (getTokenInformation == nullptr) return {};
  const win::KernelHandle token = OpenProcessTokenOf(process, TOKEN_QUERY, error);
  if (!token) return {};
  DWORD size = 0;
  getTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  if (size == 0 || !getTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) {
    *error = GetLastError();
    return {};
  }
  const auto* sid =
      static_cast<const BYTE*>(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
  return std::vector<BYTE>(sid, sid + SidSize(sid));
}

// "DOMAIN\name" of the account, or its identifier in text ("S-1-5-21-...") where the name cannot
// be looked up.
std::wstring AccountName(const std::vector<BYTE>& sid) {
  if (sid.empty()) return {};
  PSID id = const_cast<BYTE*>(sid.data());
  if (const auto lookup = Advapi32Function<decltype(&LookupAccountSidW)>("LookupAccountSidW")) {
    DWORD nameLength = 0, domainLength = 0;
    SID_NAME_USE use{};
    lookup(nullptr, id, nullptr, &nameLength, nullptr, &domainLength, &use);
    std::wstring name(nameLength, L'\0'), domain(domainLength, L'\0');
    if (nameLength > 0 &&
        lookup(nullptr, id, name.data(), &nameLength, domain.data(), &domainLength, &use)) {
      name.resize(nameLength);
      domain.resize(domainLength);
      return domain.empty() ? name : domain + L'\\' + name;
    }
  }
  const auto toString =
      Advapi32Function<decltype(&ConvertSidToStringSidW)>("ConvertSidToStringSidW");
  LPWSTR text = nullptr;
  if (toString == nullptr || !toString(id, &text)) return {};
  const win::LocalMemory<LPWSTR> owned(text);
  return owned.get();
}

Account AccountOf(std::vector<BYTE> sid) {
  Account account;
  account.name = AccountName(sid);
  account.sid = std::move(sid);
  return account;
}

SessionUsersSource currentSource = ReadSessionUsers;

// An account's name in quotes: "account "<name>"", or "another account" when it has none.
std::wstring Named(const Account& account) {
  return account.name.empty() ? std::wstring(L"另一个账户") : L"账户“" + account.name + L"”";
}

// The signed-in user's name in quotes after the words "the signed-in user", or nothing when the
// shell's owner could not be read.
std::wstring SignedInName(const SessionUsers& users) {
  const bool known = users.shellOwner == ShellOwner::kKnown && !users.shell.name.empty();
  return known ? L"“" + users.shell.name + L"”" : std::wstring();
}

// "This program runs as account "<name>", while the signed-in user is "<name>"." (or "... while
// another account is signed in" when the shell's owner could not be read). Without a shell to
// compare with (a service account in session 0): "..., a service account of the system, not the
// signed-in user."
std::wstring WhoRunsAndWhoIsSignedIn(const SessionUsers& users) {
  const std::wstring runs = L"本程序正以" + Named(users.program) + L"的身份运行，";
  if (users.shellOwner == ShellOwner::kNoShell) {
    return runs + L"这是系统的服务账户，不是当前登录的用户。";
  }
  const std::wstring signedIn = SignedInName(users);
  return runs + (signedIn.empty() ? std::wstring(L"而当前登录的是另一个账户。")
                                  : L"而当前登录的用户是" + signedIn + L"。");
}

// What to do instead: "Have the signed-in user run this program themselves, not through "Run as
// administrator" with another account." For a service account, as a deployment tool runs it:
// "In the deployment tool, choose to run this program as the signed-in user."
std::wstring RunAsSignedInUserAdvice(const SessionUsers& users) {
  if (IsServiceAccount(users.program.sid)) {
    return L"请在部署工具中选择以当前登录的用户的身份运行本程序。";
  }
  return L"请由当前登录的用户直接运行本程序，不要用其他账户“以管理员身份运行”。";
}

}  // namespace

// TOKEN_ELEVATION_TYPE's documentation: TokenElevationTypeFull is the elevated token of a split
// pair, TokenElevationTypeDefault a token without one (UAC off, or the built-in administrator); a
// major browser's launcher tells the same three apart before relaunching itself unelevated
// (Firefox's LaunchUnelevated and GetElevationState). Wine, which has no split tokens, reports
// TokenElevationTypeFull.
bool RunsElevated() {
  const auto getTokenInformation =
      Advapi32Function<decltype(&GetTokenInformation)>("GetTokenInformation");
  const win::KernelHandle token = OpenProcessTokenOf(GetCurrentProcess(), TOKEN_QUERY);
  if (getTokenInformation == nullptr || !token) return false;
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  return getTokenInformation(token.get(), TokenElevationType, &type, sizeof(type), &size) &&
         type == TokenElevationTypeFull;
}

SessionUsers ReadSessionUsers(HWND shellWindow) {
  SessionUsers users;
  DWORD error = 0;
  users.program = AccountOf(TokenUserSid(GetCurrentProcess(), &error));
  DWORD processId = 0;
  if (shellWindow == nullptr || GetWindowThreadProcessId(shellWindow, &processId) == 0) {
    return users;
  }
  const win::KernelHandle shell(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  std::vector<BYTE> owner;
  if (shell)
    owner = TokenUserSid(shell.get(), &error);
  else
    error = GetLastError();
  if (!owner.empty()) {
    users.shellOwner = ShellOwner::kKnown;
    users.shell = AccountOf(std::move(owner));
  } else if (error == ERROR_ACCESS_DENIED) {
    users.shellOwner = ShellOwner::kHidden;
  }
  return users;
}

SessionUsers SessionUsersOf(HWND shellWindow) { return currentSource(shellWindow); }

SessionUsersSource SetSessionUsersSource(SessionUsersSource source) {
  const SessionUsersSource previous = currentSource;
  currentSource = source != nullptr ? source : ReadSessionUsers;
  return previous;
}

// The well-known identifiers S-1-5-18, -19 and -20 (Microsoft's "Well-known SIDs"): revision 1,
// one sub-authority, the NT authority 5, then the sub-authority, little-endian. A service's
// HKEY_CURRENT_USER is the default user's hive, not the person signed in (Microsoft's
// "LocalSystem Account"), which is why a change made there reaches nobody: deployment scripts
// that wrote HKEY_CURRENT_USER as SYSTEM changed only SYSTEM's settings
// (microsoft/Intune-ACSC-Windows-Hardening-Guidelines, "PreventActivationofOLE Fix";
// ASD-Blueprint-for-Secure-Cloud, "Some recommended Intune devices scripts need to be ran with
// user context, not system").
bool IsServiceAccount(const std::vector<BYTE>& sid) {
  constexpr BYTE kLocalSystem = 18, kNetworkService = 20;
  constexpr size_t kSize = 12;
  if (sid.size() != kSize) return false;
  const BYTE prefix[] = {1, 1, 0, 0, 0, 0, 0, 5};
  return std::equal(std::begin(prefix), std::end(prefix), sid.begin()) && sid[8] >= kLocalSystem &&
         sid[8] <= kNetworkService && sid[9] == 0 && sid[10] == 0 && sid[11] == 0;
}

bool ActsForSignedInUser(const SessionUsers& users) {
  if (IsServiceAccount(users.program.sid)) return false;
  if (users.program.sid.empty()) return true;
  switch (users.shellOwner) {
    case ShellOwner::kNoShell:
      return true;
    case ShellOwner::kKnown:
      return users.shell.sid == users.program.sid;
    case ShellOwner::kHidden:
      break;
  }
  return false;
}

std::wstring OtherUserSettingNotice(const SessionUsers& users) {
  // "If the setting were changed here, it would change for <program's account>, not for the
  // signed-in user <name>; therefore this program changed nothing. Have the signed-in user run
  // this program themselves, not through "Run as administrator" with another account."
  return WhoRunsAndWhoIsSignedIn(users) + L"如果在这里更改内嵌图片，更改的将是" +
         Named(users.program) + L"的设置，而不是当前登录的用户" + SignedInName(users) +
         L"的设置，因此本程序未做任何更改。" + RunAsSignedInUserAdvice(users);
}

std::wstring OtherUserRestartNotice(const SessionUsers& users) {
  // "This program does not restart another account's Explorer; therefore it did not refresh.
  // Have the signed-in user run this program themselves, then click the refresh button."
  return WhoRunsAndWhoIsSignedIn(users) +
         L"本程序不会重新启动其他账户的资源管理器，因此未刷新。"
         L"请由当前登录的用户直接运行本程序，再单击“刷新后马上生效”。";
}

std::wstring WhoseSettingNote(const SessionUsers& users) {
  if (ActsForSignedInUser(users)) return {};
  // "This is the setting of <program's account>, the account this program runs as, not that of
  // the signed-in user <name>."
  return L"这是本程序运行所用的" + Named(users.program) + L"的设置，而不是当前登录的用户" +
         SignedInName(users) + L"的设置。";
}

}  // namespace app
