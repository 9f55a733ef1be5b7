#include "tests/support/running_form.h"

#include <cstdio>

namespace payload_tests {
namespace {

using testing_support::ClassNameOf;
using testing_support::WindowText;

constexpr wchar_t kFormCaption[] = L"Morvane";
constexpr DWORD kStartMs = 20000;
constexpr DWORD kCloseMs = 20000;

struct ButtonSearch {
  std::wstring caption;
  HWND found;
};

BOOL CALLBACK FindButton(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<ButtonSearch*>(lParam);
  if (_wcsicmp(ClassNameOf(window).c_str(), L"Button") == 0 &&
      WindowText(window) == search->caption) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

SwitchRun SwitchProcess::Finish(DWORD timeoutMs) {
  SwitchRun run;
  run.startError = startError();
  if (!started()) return run;
  if (!WaitForExit(timeoutMs, &run.exitCode)) Stop(SwitchRun::kNoExitCode);
  run.output = ReadOutput();
  return run;
}

RunningForm::RunningForm() {
  if (!started()) {
    std::fwprintf(stderr, L"the program did not start: error %lu\n", startError());
    return;
  }
  WaitForInputIdle(kStartMs);
  form_ = WaitForWindow(kFormCaption, kStartMs);
  DWORD exitCode = 0;
  if (form_ == nullptr && WaitForExit(0, &exitCode)) {
    std::fwprintf(stderr, L"the program ended with code %lu before its window showed\n", exitCode);
  }
}

RunningForm::~RunningForm() {
  if (started() && !Close()) Stop(1);
}

HWND RunningForm::Button(const std::wstring& caption) const {
  ButtonSearch search{caption, nullptr};
  if (form_ != nullptr) EnumChildWindows(form_, FindButton, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void RunningForm::Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool RunningForm::Close() {
  if (!started()) return false;
  if (running()) PostMessageW(form_, WM_CLOSE, 0, 0);
  DWORD exitCode = 1;
  return WaitForExit(kCloseMs, &exitCode) && exitCode == 0;
}

}  // namespace payload_tests
