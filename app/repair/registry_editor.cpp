#include "app/repair/registry_editor.h"

#include <optional>
#include <vector>

#include "app/system/message_wait.h"
#include "app/system/process_launch.h"
#include "win/unique_handle.h"

namespace app {
namespace {

// How long a terminated editor gets to go away and let go of the import file.
constexpr DWORD kTerminateWaitMs = 2000;

// The policy that disables the registry editor.
constexpr wchar_t kSystemPolicyKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr wchar_t kDisableRegistryTools[] = L"DisableRegistryTools";
constexpr DWORD kBlocksEveryUse = 1;  // the value that blocks silent imports too

// The compatibility layer that makes the platform start a program with the caller's own rights
// where its manifest asks for the highest rights available; both the platform's launch check
// and the child read it from the environment.
constexpr wchar_t kCompatLayerVariable[] = L"__COMPAT_LAYER";
constexpr wchar_t kRunAsInvoker[] = L"RunAsInvoker";

// The value of an environment variable of this process; nothing when it is not set.
std::optional<std::wstring> EnvironmentVariable(const wchar_t* name) {
  std::vector<wchar_t> buffer(64);
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length =
        GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::wstring();
    }
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(length);
  }
}

// Sets an environment variable of this process for its lifetime and restores the previous state
// (the old value, or no variable at all) when it ends.
class EnvironmentVariableScope {
 public:
  EnvironmentVariableScope(const wchar_t* name, const wchar_t* value)
      : name_(name), previous_(EnvironmentVariable(name)) {
    SetEnvironmentVariableW(name_, value);
  }
  EnvironmentVariableScope(const EnvironmentVariableScope&) = delete;
  EnvironmentVariableScope& operator=(const EnvironmentVariableScope&) = delete;
  ~EnvironmentVariableScope() {
    SetEnvironmentVariableW(name_, previous_ ? previous_->c_str() : nullptr);
  }

 private:
  const wchar_t* name_;
  std::optional<std::wstring> previous_;
};

// Starts the editor and returns its process handle, empty when it did not start.
win::KernelHandle StartRegistryEditor(const std::wstring& importFile) {
  const std::wstring editor = RegistryEditorPath();
  if (editor.empty()) return {};
  const std::wstring directory = editor.substr(0, editor.find_last_of(L'\\'));
  EnvironmentVariableScope runAsInvoker(kCompatLayerVariable, kRunAsInvoker);
  return StartProcess(editor, RegistryEditorCommandLine(importFile), directory, SW_HIDE);
}

}  // namespace

std::wstring RegistryEditorPath() { return WindowsProgramPath(L"regedit.exe"); }

std::wstring RegistryEditorCommandLine(const std::wstring& importFile) {
  return L"\"" + RegistryEditorPath() + L"\" /s \"" + importFile + L"\"";
}

EditorOutcome RunRegistryEditor(HWND owner, const std::wstring& importFile, DWORD timeoutMs) {
  win::KernelHandle process = StartRegistryEditor(importFile);
  if (!process) return EditorOutcome::kNotStarted;
  DisabledWindowScope disabled(owner);
  if (WaitDispatchingMessages(process.get(), timeoutMs, disabled)) return EditorOutcome::kFinished;
  TerminateProcess(process.get(), ERROR_TIMEOUT);
  WaitForSingleObject(process.get(), kTerminateWaitMs);
  return EditorOutcome::kTimedOut;
}

EditorPolicy RegistryEditorPolicy() {
  EditorPolicy policy = EditorPolicy::kAllowed;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(root, kSystemPolicyKey, kDisableRegistryTools, RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS ||
        value == 0) {
      continue;
    }
    if (value == kBlocksEveryUse) return EditorPolicy::kBlocked;
    policy = EditorPolicy::kSilentAllowed;
  }
  return policy;
}

}  // namespace app
