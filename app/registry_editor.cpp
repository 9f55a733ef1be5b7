#include "app/registry_editor.h"

#include <shellapi.h>

#include "app/kernel_handles.h"

namespace app {
namespace {

// How long a terminated editor gets to go away and let go of the import file.
constexpr DWORD kTerminateWaitMs = 2000;

// Disables a top-level window for its lifetime, as a modal box would, and gives it back its
// enabled state and keyboard focus afterwards.
class DisabledWindowScope {
 public:
  explicit DisabledWindowScope(HWND window)
      : window_(window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr),
        focus_(GetFocus()),
        disabled_(window_ != nullptr && EnableWindow(window_, FALSE) == FALSE) {}
  DisabledWindowScope(const DisabledWindowScope&) = delete;
  DisabledWindowScope& operator=(const DisabledWindowScope&) = delete;
  ~DisabledWindowScope() {
    if (!disabled_ || !IsWindow(window_)) return;
    EnableWindow(window_, TRUE);
    if (focus_ != nullptr && IsWindow(focus_) && GetFocus() == nullptr) SetFocus(focus_);
  }

 private:
  HWND window_;
  HWND focus_;
  bool disabled_;  // true when this scope disabled the window and must enable it again
};

// Waits for the process to end, dispatching the thread's messages meanwhile. Returns true when
// it ended within timeoutMs. A WM_QUIT met on the way is posted again for the outer loop.
bool WaitDispatchingMessages(HANDLE process, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    const DWORD woken =
        MsgWaitForMultipleObjectsEx(1, &process, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken != WAIT_OBJECT_0 + 1) return false;  // timed out or failed
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

// Starts the editor and returns its process handle, empty when it did not start.
UniqueHandle StartRegistryEditor(HWND owner, const std::wstring& importFile) {
  const std::wstring editor = RegistryEditorPath();
  if (editor.empty()) return UniqueHandle();
  const std::wstring parameters = L"/s \"" + importFile + L"\"";
  SHELLEXECUTEINFOW launch = {};
  launch.cbSize = sizeof launch;
  // No error box from the shell: the command reports a failed start in its own words. The
  // elevation prompt, where the editor needs one, is not an error box and still appears.
  launch.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  launch.hwnd = owner;
  launch.lpVerb = L"open";
  launch.lpFile = editor.c_str();
  launch.lpParameters = parameters.c_str();
  launch.nShow = SW_HIDE;
  if (!ShellExecuteExW(&launch)) return UniqueHandle();
  return UniqueHandle(launch.hProcess);
}

}  // namespace

std::wstring RegistryEditorPath() {
  // The system-wide Windows directory: GetWindowsDirectoryW may name a private per-user one.
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring path(directory, length);
  if (path.back() != L'\\') path += L'\\';
  return path + L"regedit.exe";
}

EditorOutcome RunRegistryEditor(HWND owner, const std::wstring& importFile, DWORD timeoutMs) {
  UniqueHandle process = StartRegistryEditor(owner, importFile);
  if (!process) return EditorOutcome::kNotStarted;
  DisabledWindowScope disabled(owner);
  if (WaitDispatchingMessages(process.get(), timeoutMs)) return EditorOutcome::kFinished;
  TerminateProcess(process.get(), ERROR_TIMEOUT);
  WaitForSingleObject(process.get(), kTerminateWaitMs);
  return EditorOutcome::kTimedOut;
}

}  // namespace app
