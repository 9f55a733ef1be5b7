#include "tests/support/program_launch.h"

#include <cstdio>

namespace launch {
namespace {

// How long a painted window may take to answer before it counts as hung, and how often the
// wait looks again.
constexpr UINT kAnswerTimeoutMs = 5000;
constexpr DWORD kPollMs = 1;
// How often a start that failed is tried, and the pause between tries.
constexpr int kStartAttempts = 3;
constexpr DWORD kRetryPauseMs = 200;

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK NoteUnpainted(HWND window, LPARAM lParam) {
  if (!IsWindowVisible(window) || !GetUpdateRect(window, nullptr, FALSE)) return TRUE;
  *reinterpret_cast<bool*>(lParam) = true;
  return FALSE;
}

bool Answers(HWND window) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer) !=
         0;
}

// The handle the program writes to, inheritable; `readEnd` gets the pipe's other end.
win::KernelHandle OutputHandle(StandardOutput output, win::KernelHandle& readEnd) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  win::KernelHandle writeEnd;
  if (output == StandardOutput::kNul) {
    writeEnd.reset(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               &inheritable, OPEN_EXISTING, 0, nullptr));
    return writeEnd;
  }
  HANDLE read = nullptr;
  if (CreatePipe(&read, writeEnd.put(), &inheritable, 0)) {
    readEnd.reset(read);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  }
  return writeEnd;
}

// A start that fails for a reason other than a missing or unrunnable program is tried again: on a
// loaded machine Wine's process creation has been seen to fail once, within milliseconds, and
// then succeed. Each failure is written to standard error, so that a log says why.
bool CreateProcessWithRetries(const std::wstring& program, std::wstring& commandLine,
                              bool inherit, STARTUPINFOW& startup, PROCESS_INFORMATION& info,
                              DWORD& error) {
  for (int attempt = 1;; ++attempt) {
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, inherit, 0, nullptr,
                       nullptr, &startup, &info)) {
      error = 0;
      return true;
    }
    error = GetLastError();
    std::fwprintf(stderr, L"starting %ls failed with error %lu (attempt %d of %d)\n",
                  program.c_str(), error, attempt, kStartAttempts);
    const bool lasting = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                         error == ERROR_BAD_EXE_FORMAT;
    if (lasting || attempt == kStartAttempts) return false;
    Sleep(kRetryPauseMs);
  }
}

}  // namespace

Started Start(const std::wstring& program, const std::wstring& arguments, StandardOutput output) {
  Started started;
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  const bool inherit = output != StandardOutput::kNone;
  win::KernelHandle writeEnd;
  if (inherit) {
    writeEnd = OutputHandle(output, started.output);
    if (!writeEnd) {
      started.error = GetLastError();
      return started;
    }
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output == StandardOutput::kErrorPipe ? nullptr : writeEnd.get();
    startup.hStdError = writeEnd.get();
  }
  PROCESS_INFORMATION info{};
  if (!CreateProcessWithRetries(program, commandLine, inherit, startup, info, started.error)) {
    started.output.reset();
    return started;
  }
  const win::KernelHandle thread(info.hThread);
  started.process.reset(info.hProcess);
  started.processId = info.dwProcessId;
  started.threadId = info.dwThreadId;
  // Our copy of the write end closes here, so that ReadAll ends when the program's copies do.
  return started;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
  WindowSearch search{processId, {}};
  EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Painted(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return false;
  bool unpainted = false;
  EnumChildWindows(window, NoteUnpainted, reinterpret_cast<LPARAM>(&unpainted));
  return !unpainted;
}

bool WaitUntilPainted(HWND window, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (IsWindow(window)) {
    if (Painted(window) && Answers(window)) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
  return false;
}

HWND WaitUntilReady(const Started& started, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < deadline) {
    if (WaitForSingleObject(started.process.get(), 0) == WAIT_OBJECT_0) return nullptr;
    for (HWND window : VisibleWindowsOf(started.processId)) {
      if (Painted(window) && Answers(window)) return window;
    }
    Sleep(kPollMs);
  }
  return nullptr;
}

bool CloseAndWait(const Started& started, HWND window, DWORD timeoutMs) {
  if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(started.process.get(), timeoutMs) == WAIT_OBJECT_0) return true;
  TerminateProcess(started.process.get(), 1);
  WaitForSingleObject(started.process.get(), timeoutMs);
  return false;
}

std::string ReadAll(HANDLE readEnd) {
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (readEnd != nullptr && ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) &&
         read != 0) {
    text.append(buffer, read);
  }
  return text;
}

}  // namespace launch
