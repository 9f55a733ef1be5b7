// The steps of opening through the desktop's shell, in the order they are taken: the shell's
// object is found, handed the foreground right, and only then asked to open the address.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/system/desktop_shell.h"

namespace {

// A COM object that stands in for the desktop shell's application object.
class StandInShellObject final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = iid == IID_IUnknown ? static_cast<IUnknown*>(this) : nullptr;
    if (*object == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  ULONG references = 0;
};

StandInShellObject standIn;
std::vector<std::string> steps;
HRESULT findAnswer = S_OK;
HRESULT allowAnswer = S_OK;
IUnknown* handedTheForeground = nullptr;
std::wstring openedTarget;

HRESULT Find(win::ComReference<IUnknown>& shell) {
  steps.push_back("find");
  if (FAILED(findAnswer)) return findAnswer;
  standIn.AddRef();
  shell.reset(&standIn);
  return S_OK;
}
HRESULT AllowForeground(IUnknown* shell) {
  steps.push_back("allow");
  handedTheForeground = shell;
  return allowAnswer;
}
HRESULT Open(IUnknown*, const std::wstring& target, int) {
  steps.push_back("open");
  openedTarget = target;
  return S_OK;
}

TEST(DesktopShell, TheForegroundRightIsHandedOnBeforeTheShellOpensTheAddress) {
  struct Case {
    const char* name;
    HRESULT find, allow, result;
    std::vector<std::string> steps;
  };
  const Case cases[] = {
      {"every step succeeds", S_OK, S_OK, S_OK, {"find", "allow", "open"}},
      {"the right cannot be handed on", S_OK, E_ACCESSDENIED, S_OK, {"find", "allow", "open"}},
      {"no desktop shell", E_FAIL, S_OK, E_FAIL, {"find"}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    steps.clear();
    findAnswer = test.find;
    allowAnswer = test.allow;
    handedTheForeground = nullptr;
    openedTarget.clear();
    const HRESULT result = app::OpenThroughDesktopShell(L"http://bbs.example.com/", SW_SHOWNORMAL,
                                                        {Find, AllowForeground, Open});
    EXPECT_EQ(result, test.result);
    EXPECT_EQ(steps, test.steps);
    if (SUCCEEDED(test.find)) {
      EXPECT_EQ(handedTheForeground, &standIn) << "the right went to another object";
      EXPECT_EQ(openedTarget, L"http://bbs.example.com/");
    }
    EXPECT_EQ(standIn.references, 0u) << "the shell's object was not released";
  }
}

}  // namespace
