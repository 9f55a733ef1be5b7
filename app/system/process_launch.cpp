#include "app/system/process_launch.h"

#include <vector>

namespace app {

std::wstring SystemDirectory() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const UINT length = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0) return L"C:\\Windows\\system32";
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

std::wstring SystemProgramPath(std::wstring_view fileName) {
  std::wstring path = SystemDirectory();
  path += L'\\';
  path += fileName;
  return path;
}

std::wstring WindowsProgramPath(std::wstring_view fileName) {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring path(directory, length);
  if (path.back() != L'\\') path += L'\\';
  return path + std::wstring(fileName);
}

std::wstring SystemCommandLine(std::wstring_view fileName, std::wstring_view arguments) {
  std::wstring commandLine = L"\"" + SystemProgramPath(fileName) + L"\"";
  if (!arguments.empty()) {
    commandLine += L' ';
    commandLine += arguments;
  }
  return commandLine;
}

win::KernelHandle StartProcess(const std::wstring& program, std::wstring commandLine,
                               const std::wstring& directory, WORD showState,
                               const std::wstring& environment) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showState;
  PROCESS_INFORMATION process{};
  // CreateProcessW writes to the command line: it is a copy of the caller's.
  // c_str() ends the block with the second null that it needs.
  void* block = environment.empty() ? nullptr : const_cast<wchar_t*>(environment.c_str());
  const DWORD flags = block != nullptr ? CREATE_UNICODE_ENVIRONMENT : 0;
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, block,
                      directory.c_str(), &startup, &process)) {
    return {};
  }
  win::KernelHandle thread(process.hThread);
  return win::KernelHandle(process.hProcess);
}

bool StartSystemProgram(std::wstring_view fileName, std::wstring_view arguments, WORD showState) {
  // The started program runs on its own; we keep no handle to it.
  return static_cast<bool>(StartProcess(SystemProgramPath(fileName),
                                        SystemCommandLine(fileName, arguments), SystemDirectory(),
                                        showState));
}

}  // namespace app
