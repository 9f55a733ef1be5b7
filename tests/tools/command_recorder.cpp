// Stands in for a system program (cmd.exe, rundll32.exe) during end-to-end tests, so that a test
// sees exactly how the program under test started it without anything being run. It appends one
// line to the file named by MORVANE_RECORDER_LOG and then signals the event named by
// MORVANE_RECORDER_EVENT. The line is UTF-8:
//   <STARTF_USESHOWWINDOW set: 0 or 1>|<wShowWindow>|<current directory>|<command line>

#include <windows.h>

#include <string>

#include "win/unique_handle.h"

namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[MAX_PATH * 2] = {};
  const DWORD length = GetEnvironmentVariableW(name, buffer, MAX_PATH * 2);
  return length > 0 && length < MAX_PATH * 2 ? std::wstring(buffer, length) : std::wstring();
}

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  wchar_t directory[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, directory);

  std::wstring line = (startup.dwFlags & STARTF_USESHOWWINDOW) ? L"1|" : L"0|";
  line +=
      std::to_wstring(startup.wShowWindow) + L"|" + directory + L"|" + GetCommandLineW() + L"\n";
  const std::string bytes = Utf8(line);

  win::KernelHandle log(CreateFileW(Environment(L"MORVANE_RECORDER_LOG").c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log) return 1;
  DWORD written = 0;
  WriteFile(log.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  log.close();  // the line is in the file before the event tells anyone to read it

  const win::KernelHandle event(
      OpenEventW(EVENT_MODIFY_STATE, FALSE, Environment(L"MORVANE_RECORDER_EVENT").c_str()));
  if (event) SetEvent(event.get());
  return 0;
}
