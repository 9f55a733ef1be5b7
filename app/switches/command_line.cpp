#include "app/switches/command_line.h"

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "app/repair/inline_image_commands.h"
#include "app/repair/inline_images_status.h"
#include "app/repair/registry_payload.h"
#include "app/system/session_users.h"
#include "win/dll_search.h"
#include "win/unique_handle.h"

namespace app {
namespace {

constexpr wchar_t kUsageTitle[] = L"提示";  // "notice"

// The usage's first line, "Usage: Morvane [/show | /hide | /status | /?]", is put together from
// the switch table: kUsageLead, then the switches' names between the brackets.
constexpr wchar_t kUsageLead[] = L"用法：Morvane [";
constexpr wchar_t kUsageBetweenSwitches[] = L" | ";
constexpr wchar_t kUsageClose[] = L"]";

// One switch: its name as the usage writes it, what it runs, and its line of the usage.
struct SwitchRow {
  const wchar_t* name;  // "/show"; empty for a line about no one switch (any other argument;
                        // another account), which the parser never matches
  CommandSwitch commandSwitch;
  const wchar_t* text;
};

// The switches and their exit codes, one row each: the parser, the usage's first line and its
// lines all come from here, so a switch added here is in all three. The release copies the lines
// into the README.txt of the download (scripts/release_readme.py reads them from between the two
// marks below, one row to a line), so both always say the same.
//   /show    "Sets inline images to shown: exit code 0 on success, else 1. The setting takes
//             effect after clicking the main window's refresh button, or signing out and in.
//             When Group Policy manages inline images, changes nothing: exit code 0 when the
//             policy holds them shown, else 3."
//   /hide    the same for hidden, with exit code 3 whenever Group Policy manages them
//   /status  "Only looks, changes nothing. Exit code 0 when inline images are shown, 3 when Group
//             Policy holds them turned off, 1 for anything else (cannot be told included)."
//   /?       "Shows this usage, exit code 0."
//   other    "Any other argument, or more than one: changes nothing, shows this usage, exit
//             code 2."
//   account  "Run as an account other than the signed-in user (SYSTEM, for one): changes
//             nothing, says whose setting it is, exit code 4."
// clang-format off
// usage lines begin
constexpr SwitchRow kSwitchRows[] = {
    {L"/show", CommandSwitch::kShow, L"将内嵌图片设为显示状态，成功时退出码为 0，否则为 1。在主窗口中单击“刷新后马上生效”，或注销后重新登录，设置即可生效。内嵌图片由组策略管理时不做任何更改，组策略将其设为显示状态时退出码为 0，否则为 3。"},
    {L"/hide", CommandSwitch::kHide, L"将内嵌图片设为关闭状态，成功时退出码为 0，否则为 1。在主窗口中单击“刷新后马上生效”，或注销后重新登录，设置即可生效。内嵌图片由组策略管理时不做任何更改，退出码为 3。"},
    {L"/status", CommandSwitch::kStatus, L"只查看，不更改。内嵌图片为显示状态时退出码为 0，由组策略设为关闭状态时为 3，其他情况（包括无法判断）为 1。"},
    {L"/?", CommandSwitch::kUsage, L"显示此用法说明，退出码为 0。"},
    {L"", CommandSwitch::kInvalid, L"其他参数，或一次给出多个参数：不做任何更改，显示此用法说明，退出码为 2。"},
    {L"", CommandSwitch::kNone, L"以当前登录的用户以外的账户（例如 SYSTEM）运行时：不做任何更改，说明是谁的设置，退出码为 4。"},
};
// usage lines end
// clang-format on

// "Note: this system lacks update KB2533623 (or an update that replaces it), which Windows 7 SP1
// needs to keep the system from loading DLLs out of the program's folder. Without it, a DLL put
// beside the program may be loaded, a security risk. Install the update through Windows Update."
// Windows 7, the only system that lacks it, names Windows Update in English.
constexpr wchar_t kDllSearchNotRestricted[] =
    L"注意：此系统未安装更新 KB2533623（或取代它的更新），Windows 7 SP1 需要此更新才能阻止系统"
    L"从本程序所在的文件夹加载 DLL。未安装时，放在本程序旁边的 DLL 可能被加载，这是一个安全风险。"
    L"请通过 Windows Update 安装此更新。";

constexpr wchar_t kLineEnd[] = L"\r\n";

// The usage's switch lines: indented, the switch's name in a column of its own.
constexpr size_t kUsageIndent = 2;
constexpr size_t kUsageSwitchWidth = 9;

// A switch starts with "/" or "-" and compares without regard to case.
CommandSwitch ParseSwitch(const wchar_t* argument) {
  if (argument[0] != L'/' && argument[0] != L'-') return CommandSwitch::kInvalid;
  for (const SwitchRow& row : kSwitchRows) {
    if (row.name[0] != L'\0' && _wcsicmp(argument + 1, row.name + 1) == 0) {
      return row.commandSwitch;
    }
  }
  return CommandSwitch::kInvalid;
}

// A handle the program was given: not null, and one the system knows (a file, a pipe, a
// character device such as NUL or a console).
bool IsPresent(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
  SetLastError(NO_ERROR);
  return GetFileType(handle) != FILE_TYPE_UNKNOWN || GetLastError() == NO_ERROR;
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != FALSE;
}

// The standard output, or the standard error when there is no output; null when neither is
// present.
HANDLE StandardOutput() {
  for (DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    const HANDLE handle = GetStdHandle(which);
    if (IsPresent(handle)) return handle;
  }
  return nullptr;
}

std::string Convert(const std::wstring& text, UINT codePage) {
  const int length = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

// True when bytes in codePage read back as text: no character was replaced by a default or a
// best-fit one on the way.
bool ReadsBackAs(const std::string& bytes, UINT codePage, const std::wstring& text) {
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (size != static_cast<int>(text.size())) return false;
  std::wstring back(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), length, back.data(), size);
  return back == text;
}

bool WriteBytes(HANDLE output, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool WriteConsoleText(HANDLE console, const std::wstring& text) {
  DWORD written = 0;
  return WriteConsoleW(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) !=
         FALSE;
}

// Writes one line where the caller of the program reads it: to its standard output, or its
// standard error when it has no output, as text to a console and as bytes (EncodeOutputLine) to
// anything else, a file, a pipe or NUL; with neither handle, to the console of the parent
// process. False only when there is none of these, the one case in which a box may show.
bool WriteLine(const std::wstring& text) {
  const std::wstring line = text + kLineEnd;
  // The inherited handles are looked at before attaching, which may replace them.
  const HANDLE output = StandardOutput();
  // A program of the windows subsystem gets no console of its own: borrow the parent's. It
  // fails harmlessly when there is none or the process already has one.
  AttachConsole(ATTACH_PARENT_PROCESS);
  win::KernelHandle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        0, nullptr));
  if (output == nullptr) {
    if (!console) return false;
    WriteConsoleText(console.get(), line);
  } else if (IsConsole(output)) {
    WriteConsoleText(output, line);
  } else {
    WriteBytes(output, EncodeOutputLine(line, console ? GetConsoleOutputCP() : GetACP()));
  }
  return true;
}

int ShowUsage(int exitCode) {
  const std::wstring usage = UsageText();
  if (!WriteLine(usage)) {
    MessageBoxW(nullptr, usage.c_str(), kUsageTitle, MB_OK | MB_ICONINFORMATION);
  }
  return exitCode;
}

int ApplyCommand(const InlineImageCommand& command) {
  const InlineImagesOutcome outcome = ApplyInlineImageCommand(nullptr, command);
  WriteLine(InlineImagesReport(command, outcome, L""));
  if (!outcome.otherUserNotice.empty()) return kExitOtherAccount;
  if (outcome.policy != InlineImagesPolicy::kNone) {
    return outcome.policy == InlineImagesPolicy::kShown && outcome.holds ? kExitHolds
                                                                         : kExitHeldByPolicy;
  }
  return outcome.holds ? kExitHolds : kExitNotHeld;
}

// The same sentences as the main window's tooltip; the exit code is 0 only when pictures are
// shown, whatever holds them so, and 3 when a policy holds them hidden. Run as another account
// than the person signed in, the line says whose setting it describes and the exit code is
// kExitOtherAccount whatever that setting is: a detection script run as SYSTEM must not report
// the signed-in user's pictures as shown or hidden.
int ReportStatus() {
  const InlineImagesStatus status = ReadInlineImagesStatus();
  const SessionUsers users = SessionUsersOf(GetShellWindow());
  const std::wstring text = InlineImagesStatusText(status, users);
  WriteLine(StatusReport(text, win::CanRestrictDllSearch()));
  if (!ActsForSignedInUser(users)) return kExitOtherAccount;
  if (PicturesShown(status)) return kExitHolds;
  return status.policy == InlineImagesPolicy::kHidden ? kExitHeldByPolicy : kExitNotHeld;
}

}  // namespace

std::wstring UsageLineText(const wchar_t* switchName, const wchar_t* text) {
  std::wstring line(kUsageIndent, L' ');
  if (*switchName != L'\0') {
    std::wstring name(switchName);
    name.resize(std::max(name.size() + 1, kUsageSwitchWidth), L' ');
    line.append(L"Morvane ").append(name);
  }
  return line.append(text);
}

std::wstring UsageText() {
  std::wstring usage = kUsageLead;
  const wchar_t* between = L"";
  for (const SwitchRow& row : kSwitchRows) {
    if (row.name[0] == L'\0') continue;
    usage.append(between).append(row.name);
    between = kUsageBetweenSwitches;
  }
  usage.append(kUsageClose);
  for (const SwitchRow& row : kSwitchRows) {
    usage.append(kLineEnd).append(UsageLineText(row.name, row.text));
  }
  return usage;
}

std::wstring StatusReport(const std::wstring& status, bool dllSearchRestricted) {
  std::wstring report = status;
  if (!dllSearchRestricted) report.append(kLineEnd).append(kDllSearchNotRestricted);
  return report;
}

std::string EncodeOutputLine(const std::wstring& text, UINT codePage) {
  std::string bytes = Convert(text, codePage);
  if (!ReadsBackAs(bytes, codePage, text)) bytes = Convert(text, CP_UTF8);
  return bytes;
}

bool NamesProgramOnly(std::wstring_view commandLine) {
  size_t end = 0;
  if (!commandLine.empty() && commandLine.front() == L'"') {
    end = commandLine.find(L'"', 1);
    end = end == std::wstring_view::npos ? commandLine.size() : end + 1;
  } else {
    end = std::min(commandLine.find_first_of(L" \t"), commandLine.size());
  }
  return commandLine.find_first_not_of(L" \t", end) == std::wstring_view::npos;
}

CommandSwitch ParseCommandLine(const wchar_t* commandLine) {
  // A start without a switch, the usual one, needs no parser: shell32, whose loading is heavy,
  // is loaded only for a command line that holds more than the program's name.
  if (commandLine == nullptr || NamesProgramOnly(commandLine)) return CommandSwitch::kNone;
  const win::Module shell32(win::LoadSystemLibrary(L"shell32.dll"));
  const auto split =
      win::ModuleFunction<decltype(&CommandLineToArgvW)>(shell32.get(), "CommandLineToArgvW");
  if (split == nullptr) return CommandSwitch::kInvalid;
  int count = 0;
  const win::LocalMemory<LPWSTR*> arguments(split(commandLine, &count));
  if (!arguments) return CommandSwitch::kInvalid;
  if (count <= 1) return CommandSwitch::kNone;
  if (count == 2) return ParseSwitch(arguments.get()[1]);
  return CommandSwitch::kInvalid;
}

int RunCommandSwitch(CommandSwitch commandSwitch) {
  switch (commandSwitch) {
    case CommandSwitch::kShow:
      return ApplyCommand(kShowCommand);
    case CommandSwitch::kHide:
      return ApplyCommand(kHideCommand);
    case CommandSwitch::kStatus:
      return ReportStatus();
    case CommandSwitch::kUsage:
      return ShowUsage(kExitUsage);
    case CommandSwitch::kNone:
    case CommandSwitch::kInvalid:
      break;
  }
  return ShowUsage(kExitBadSwitch);
}

}  // namespace app
