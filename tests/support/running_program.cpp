#include "tests/support/running_program.h"

#include "tests/support/test_paths.h"

namespace testing_support {
namespace {

constexpr DWORD kStartIdleMs = 10000;
constexpr DWORD kStopWaitMs = 10000;
constexpr int kTextChars = 1024;

}  // namespace

HWND ShownTooltipOf(HWND owner) {
  for (HWND window = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr);
       window != nullptr; window = FindWindowExW(nullptr, window, L"tooltips_class32", nullptr)) {
    if (GetWindow(window, GW_OWNER) == owner && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

std::wstring WindowText(HWND window) {
  wchar_t buffer[kTextChars] = {};
  const int length = GetWindowTextW(window, buffer, kTextChars);
  return std::wstring(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

std::wstring ClassNameOf(HWND window) {
  wchar_t buffer[256] = {};
  const int length = GetClassNameW(window, buffer, 256);
  return std::wstring(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right - client.left, client.bottom - client.top};
}

RECT RectInParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool AnswerMessageBox(const MessageBoxSeen& box) {
  HWND ok = GetDlgItem(box.window, IDOK);
  if (ok == nullptr) return false;
  PostMessageW(ok, BM_CLICK, 0, 0);
  return WaitUntil([&] { return !IsWindow(box.window); }, 20000);
}

RunningProgram::RunningProgram() : RunningProgram(L"", false) {
  if (started()) WaitForInputIdle(kStartIdleMs);
}

RunningProgram::RunningProgram(const std::wstring& arguments, bool redirectOutput)
    : RunningProgram(MorvaneExePath(), arguments, redirectOutput) {}

RunningProgram::RunningProgram(const std::wstring& program, const std::wstring& arguments,
                               bool redirectOutput)
    : RunningProgram(program, arguments,
                     redirectOutput ? StandardOutput::kPipe : StandardOutput::kNone) {}

RunningProgram::RunningProgram(const std::wstring& arguments, StandardOutput output)
    : RunningProgram(MorvaneExePath(), arguments, output) {}

RunningProgram::RunningProgram(const std::wstring& program, const std::wstring& arguments,
                               StandardOutput output)
    : started_(launch::Start(program, arguments, output)) {}

RunningProgram::~RunningProgram() {
  if (running()) Stop(1);
}

bool RunningProgram::running() const {
  return started_ && WaitForSingleObject(started_.process.get(), 0) == WAIT_TIMEOUT;
}

void RunningProgram::WaitForInputIdle(DWORD timeoutMs) const {
  ::WaitForInputIdle(started_.process.get(), timeoutMs);
}

std::vector<HWND> RunningProgram::VisibleWindows() const {
  return launch::VisibleWindowsOf(started_.processId);
}

HWND RunningProgram::WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : VisibleWindows()) {
          if (WindowText(window) == caption) {
            found = window;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

bool RunningProgram::WaitForWindowGone(const std::wstring& caption, DWORD timeoutMs) const {
  return WaitUntil(
      [&] {
        for (HWND window : VisibleWindows()) {
          if (WindowText(window) == caption) return false;
        }
        return true;
      },
      timeoutMs);
}

MessageBoxSeen RunningProgram::WaitForMessageBox(DWORD timeoutMs) const {
  HWND box = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : VisibleWindows()) {
          if (IsMessageBox(window)) {
            box = window;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return box != nullptr ? ReadMessageBox(box) : MessageBoxSeen{};
}

HWND RunningProgram::FocusWindow() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(started_.threadId, &info) ? info.hwndFocus : nullptr;
}

bool RunningProgram::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
  if (!started_ || WaitForSingleObject(started_.process.get(), timeoutMs) != WAIT_OBJECT_0) {
    return false;
  }
  GetExitCodeProcess(started_.process.get(), exitCode);
  return true;
}

void RunningProgram::Stop(UINT exitCode) const {
  TerminateProcess(started_.process.get(), exitCode);
  WaitForSingleObject(started_.process.get(), kStopWaitMs);
}

std::string RunningProgram::ReadOutput() const { return launch::ReadAll(started_.output.get()); }

}  // namespace testing_support
