#include "tests/app/payloads/running_form.h"

#include <vector>

#include "tests/support/test_paths.h"

namespace payload_tests {
namespace {

constexpr wchar_t kFormCaption[] = L"Morvane";
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kMessageBoxTextId = 0xFFFF;  // the static control holding a message box's text
constexpr DWORD kPollMs = 10;

std::wstring TextOf(HWND window) {
  wchar_t buffer[1024] = {};
  const int length = GetWindowTextW(window, buffer, 1024);
  return std::wstring(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

std::wstring ClassOf(HWND window) {
  wchar_t buffer[256] = {};
  const int length = GetClassNameW(window, buffer, 256);
  return std::wstring(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

struct Search {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> VisibleTopLevelWindows(DWORD processId) {
  Search search{processId, {}};
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct ButtonSearch {
  std::wstring caption;
  HWND found;
};

BOOL CALLBACK FindButton(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<ButtonSearch*>(lParam);
  if (_wcsicmp(ClassOf(window).c_str(), L"Button") == 0 && TextOf(window) == search->caption) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= deadline) return condition();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
  }
  return true;
}

SwitchProcess::SwitchProcess(const std::wstring& arguments, bool redirectOutput) {
  const std::wstring exe = testing_support::MorvaneExePath();
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  HANDLE writeEnd = nullptr;
  if (redirectOutput) {
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    if (!CreatePipe(&output_, &writeEnd, &inheritable, 0)) return;
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
  }
  PROCESS_INFORMATION info = {};
  const BOOL started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr,
                                      redirectOutput, 0, nullptr, nullptr, &startup, &info);
  if (writeEnd != nullptr) CloseHandle(writeEnd);
  if (!started) return;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
}

SwitchProcess::~SwitchProcess() {
  if (process_ != nullptr) {
    TerminateProcess(process_, SwitchRun::kNoExitCode);
    WaitForSingleObject(process_, 10000);
    CloseHandle(process_);
  }
  if (output_ != nullptr) CloseHandle(output_);
}

SwitchRun SwitchProcess::Finish(DWORD timeoutMs) {
  SwitchRun run;
  if (process_ == nullptr) return run;
  if (WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process_, &run.exitCode);
  } else {
    TerminateProcess(process_, SwitchRun::kNoExitCode);
    WaitForSingleObject(process_, 10000);
  }
  char buffer[4096];
  DWORD read = 0;
  while (output_ != nullptr && ReadFile(output_, buffer, sizeof buffer, &read, nullptr) && read)
    run.output.append(buffer, read);
  return run;
}

RunningForm::RunningForm() {
  const std::wstring exe = testing_support::MorvaneExePath();
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  WaitForInputIdle(process_, 20000);
  WaitFor([&] {
    for (HWND window : VisibleTopLevelWindows(processId_)) {
      if (TextOf(window) == kFormCaption) form_ = window;
    }
    return form_ != nullptr;
  });
}

RunningForm::~RunningForm() {
  if (process_ == nullptr) return;
  if (!Close()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 10000);
  }
  CloseHandle(process_);
}

HWND RunningForm::Button(const std::wstring& caption) const {
  ButtonSearch search{caption, nullptr};
  if (form_ != nullptr) EnumChildWindows(form_, FindButton, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void RunningForm::Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

MessageBoxSeen WaitForMessageBoxOf(DWORD processId, DWORD timeoutMs) {
  MessageBoxSeen box;
  WaitFor(
      [&] {
        for (HWND window : VisibleTopLevelWindows(processId)) {
          if (ClassOf(window) == kDialogClass && GetDlgItem(window, kMessageBoxTextId) != nullptr) {
            box.window = window;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  if (box.window != nullptr) {
    box.title = TextOf(box.window);
    wchar_t text[1024] = {};
    GetDlgItemTextW(box.window, kMessageBoxTextId, text, 1024);
    box.text = text;
  }
  return box;
}

bool AnswerMessageBox(const MessageBoxSeen& box) {
  HWND ok = GetDlgItem(box.window, IDOK);
  if (ok == nullptr) return false;
  PostMessageW(ok, BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(box.window); });
}

bool RunningForm::Close() {
  if (process_ == nullptr) return false;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) PostMessageW(form_, WM_CLOSE, 0, 0);
  DWORD exitCode = 1;
  return WaitForSingleObject(process_, 20000) == WAIT_OBJECT_0 &&
         GetExitCodeProcess(process_, &exitCode) && exitCode == 0;
}

}  // namespace payload_tests
