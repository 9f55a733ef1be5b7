#include "app/command_line.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/inline_image_commands.h"
#include "app/registry_payload.h"
#include "win/unique_handle.h"

namespace app {
namespace {

constexpr wchar_t kUsageTitle[] = L"提示";  // "notice"

// "Usage: Morvane [/show | /hide | /status | /?]. /show and /hide turn inline images on or off,
// exit code 0 when the setting took effect, otherwise 1; /status only looks: 0 when pictures are
// shown, 1 when hidden; any other switch: 2, and nothing is changed."
constexpr wchar_t kUsage[] =
    L"用法：Morvane [/show | /hide | /status | /?]。/show、/hide 显示或关闭内嵌图片，"
    L"设置生效时退出码为 0，否则为 1；/status 只查看不更改，显示内嵌图片时为 0，关闭时为 1；"
    L"其他参数的退出码为 2，不做任何更改。";

// "Inline images are currently shown." / "... currently turned off."
constexpr wchar_t kStatusShown[] = L"内嵌图片当前为显示状态。";
constexpr wchar_t kStatusHidden[] = L"内嵌图片当前为关闭状态。";

constexpr wchar_t kLineEnd[] = L"\r\n";

struct SwitchName {
  const wchar_t* name;
  CommandSwitch commandSwitch;
};
constexpr SwitchName kSwitches[] = {
    {L"show", CommandSwitch::kShow},
    {L"hide", CommandSwitch::kHide},
    {L"status", CommandSwitch::kStatus},
    {L"?", CommandSwitch::kUsage},
};

CommandSwitch ParseSwitch(const wchar_t* argument) {
  if (argument[0] != L'/' && argument[0] != L'-') return CommandSwitch::kInvalid;
  for (const SwitchName& known : kSwitches) {
    if (_wcsicmp(argument + 1, known.name) == 0) return known.commandSwitch;
  }
  return CommandSwitch::kInvalid;
}

bool IsRedirected(HANDLE output) {
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return false;
  const DWORD type = GetFileType(output);
  return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

// Writes text to a file or pipe in the given code page.
bool WriteInCodePage(HANDLE output, const std::wstring& text, UINT codePage) {
  const int length = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  std::vector<char> bytes(static_cast<size_t>(size));
  WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
  DWORD written = 0;
  return WriteFile(output, bytes.data(), static_cast<DWORD>(size), &written, nullptr) &&
         written == static_cast<DWORD>(size);
}

// Writes one line where the caller of the program can read it: to its redirected output (a
// file or pipe of a script) in the console's code page, or the system's when there is no
// console; otherwise to the console of the parent process. False when there is neither.
bool WriteLine(const std::wstring& text) {
  const std::wstring line = text + kLineEnd;
  // The inherited output handle is looked at before attaching, which may replace it.
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  const bool redirected = IsRedirected(output);
  // A program of the windows subsystem gets no console of its own: borrow the parent's. It
  // fails harmlessly when there is none or the process already has one.
  AttachConsole(ATTACH_PARENT_PROCESS);
  win::KernelHandle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        0, nullptr));
  if (redirected) return WriteInCodePage(output, line, console ? GetConsoleOutputCP() : GetACP());
  if (!console) return false;
  DWORD written = 0;
  return WriteConsoleW(console.get(), line.data(), static_cast<DWORD>(line.size()), &written,
                       nullptr) != FALSE;
}

int ShowUsage(int exitCode) {
  if (!WriteLine(kUsage)) MessageBoxW(nullptr, kUsage, kUsageTitle, MB_OK | MB_ICONINFORMATION);
  return exitCode;
}

int ApplyCommand(const InlineImageCommand& command) {
  const InlineImagesOutcome outcome = ApplyInlineImageCommand(nullptr, command);
  WriteLine(InlineImagesReport(command, outcome, L""));
  return outcome.holds ? kExitHolds : kExitNotHeld;
}

int ReportStatus() {
  const bool shown = InlineImagesShown();
  WriteLine(shown ? kStatusShown : kStatusHidden);
  return shown ? kExitHolds : kExitNotHeld;
}

}  // namespace

CommandSwitch ParseCommandLine(const wchar_t* commandLine) {
  int count = 0;
  const win::LocalMemory<LPWSTR*> arguments(CommandLineToArgvW(commandLine, &count));
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
