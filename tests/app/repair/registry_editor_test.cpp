#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/repair/registry_editor.h"
#include "tests/app/repair/editor_stand_in.h"
#include "tests/support/inline_images_value.h"
#include "tests/support/window_class.h"

namespace {

using payload_tests::CountProcessesNamed;
using payload_tests::EditorStandIn;
using payload_tests::RegistryToolsPolicy;

constexpr UINT kProbeMessage = WM_APP + 1;
constexpr UINT kFloodMessage = WM_APP + 2;

// A plain top-level window that records, for every probe message it is sent through the
// queue, whether it was enabled at that moment. Flooded, it keeps one message of its own in its
// queue, each posting the next, until a moment given.
class ProbeWindow {
 public:
  ProbeWindow() {
    window_ = CreateWindowExW(
        0, testing_support::TestWindowClass(L"MorvaneEditorWaitProbe", Procedure), L"probe",
        WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ProbeWindow(const ProbeWindow&) = delete;
  ProbeWindow& operator=(const ProbeWindow&) = delete;
  ~ProbeWindow() { DestroyWindow(window_); }

  HWND get() const { return window_; }
  const std::vector<bool>& enabledAtProbe() const { return enabledAtProbe_; }
  int floodMessages() const { return floodMessages_; }

  void Flood(ULONGLONG untilTick) {
    floodUntil_ = untilTick;
    PostMessageW(window_, kFloodMessage, 0, 0);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ProbeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kProbeMessage && self != nullptr) {
      self->enabledAtProbe_.push_back(IsWindowEnabled(window) != FALSE);
      return 0;
    }
    if (message == kFloodMessage && self != nullptr) {
      ++self->floodMessages_;
      if (GetTickCount64() < self->floodUntil_) PostMessageW(window, kFloodMessage, 0, 0);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  std::vector<bool> enabledAtProbe_;
  ULONGLONG floodUntil_ = 0;
  int floodMessages_ = 0;
};

// A steady stream of messages (one always waiting, well past the bound) must not hold the wait.
TEST(RegistryEditor, AHungEditorIsStoppedAtTheBoundWhileTheWindowStaysServedButDisabled) {
  EditorStandIn standIn(EditorStandIn::Mode::kHang);
  ASSERT_TRUE(standIn.installed());
  ProbeWindow window;
  ASSERT_NE(window.get(), nullptr);
  PostMessageW(window.get(), kProbeMessage, 0, 0);

  constexpr DWORD kBoundMs = 1500;
  const ULONGLONG start = GetTickCount64();
  window.Flood(start + kBoundMs + 8000);
  const app::EditorOutcome outcome =
      app::RunRegistryEditor(window.get(), L"C:\\nowhere\\Ykvo.reg", kBoundMs);
  const ULONGLONG elapsed = GetTickCount64() - start;
  window.Flood(0);

  EXPECT_EQ(outcome, app::EditorOutcome::kTimedOut);
  EXPECT_GT(window.floodMessages(), 100) << "the stream was not served during the wait";
  EXPECT_GE(elapsed, kBoundMs);
  EXPECT_LT(elapsed, kBoundMs + 4000) << "the wait overran its bound";
  EXPECT_EQ(window.enabledAtProbe(), std::vector<bool>{false})
      << "messages are served during the wait, with the window disabled";
  EXPECT_TRUE(IsWindowEnabled(window.get())) << "the window is enabled again afterwards";
  EXPECT_EQ(CountProcessesNamed(L"regedit.exe"), 0) << "the hung editor was ended";
}

// This process's __COMPAT_LAYER, or nothing when it is unset.
std::optional<std::wstring> OwnCompatLayer() {
  wchar_t value[256] = {};
  SetLastError(ERROR_SUCCESS);
  if (GetEnvironmentVariableW(L"__COMPAT_LAYER", value, 256) == 0 &&
      GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
    return std::nullopt;
  }
  return std::wstring(value);
}

TEST(RegistryEditor, TheEditorRunsAsTheInvokerWithSilentModeAndThePathAsOneArgument) {
  EditorStandIn standIn(EditorStandIn::Mode::kExitAtOnce);
  ASSERT_TRUE(standIn.installed());
  // A user name with a space puts a space into the temporary directory.
  const std::wstring path = L"C:\\users\\some user\\Temp\\Nkvo.reg";
  // Whatever this program's own environment held before, it holds again after the start.
  for (const std::optional<std::wstring>& own :
       {std::optional<std::wstring>(), std::optional<std::wstring>(L"HighDpiAware")}) {
    SetEnvironmentVariableW(L"__COMPAT_LAYER", own ? own->c_str() : nullptr);
    EXPECT_EQ(app::RunRegistryEditor(nullptr, path, app::kRegistryEditorTimeoutMs),
              app::EditorOutcome::kFinished);
    EXPECT_EQ(OwnCompatLayer(), own);
    EXPECT_EQ(standIn.LastCompatLayer(), std::optional<std::wstring>(L"RunAsInvoker"));
    // The command line written out in full: Wine's Windows folder is C:\windows.
    EXPECT_EQ(standIn.LastCommandLine(),
              L"\"C:\\windows\\regedit.exe\" /s \"C:\\users\\some user\\Temp\\Nkvo.reg\"");
  }
  SetEnvironmentVariableW(L"__COMPAT_LAYER", nullptr);
  const std::vector<std::wstring> expected = {L"/s", path};
  EXPECT_EQ(standIn.Starts(), (std::vector<std::vector<std::wstring>>{expected, expected}));
}

TEST(RegistryEditor, AMissingEditorIsReportedAsNotStarted) {
  EditorStandIn standIn(EditorStandIn::Mode::kMissing);
  ASSERT_TRUE(standIn.installed());
  ProbeWindow window;
  EXPECT_EQ(app::RunRegistryEditor(window.get(), L"C:\\nowhere\\Ykvo.reg", 1000),
            app::EditorOutcome::kNotStarted);
  EXPECT_TRUE(IsWindowEnabled(window.get()));
}

// The user's and the machine's policy are read alike; 1 in either place blocks the editor, even
// where the other place holds 2, which blocks only its window.
TEST(RegistryEditor, OnlyAPolicyOfOneInEitherPlaceBlocksTheEditor) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    const HKEY other = root == HKEY_CURRENT_USER ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    RegistryToolsPolicy none(std::nullopt, other);
    RegistryToolsPolicy policy(2, root);
    EXPECT_EQ(app::RegistryEditorPolicy(), app::EditorPolicy::kSilentAllowed);
    RegistryToolsPolicy blocked(1, other);
    EXPECT_EQ(app::RegistryEditorPolicy(), app::EditorPolicy::kBlocked);
  }
}

}  // namespace
