#include "app/system/desktop_shell.h"

#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "win/com_reference.h"
#include "win/module_function.h"
#include "win/ole_automation.h"

// The way in is the one Microsoft gives for starting a program unelevated from an elevated one
// (the ExecInExplorer sample of Windows-classic-samples; "How can I launch an unelevated process
// from my elevated process and vice versa?", The Old New Thing, 2013-11-18): find the desktop's
// window among the shell windows (IShellWindows::FindWindowSW, SWC_DESKTOP), take its view's
// automation object and from it the shell's application object, whose
// IShellDispatch2::ShellExecute runs in the shell's process, as the shell's user. Others launch
// the same way where they must not pass their elevation on: a major browser launching itself
// unelevated (Firefox's widget/windows/ShellHeaderOnlyUtils.h, with the same empty directory and
// "open" verb, and the note that it fails in some environments such as Citrix), an installer's
// "launch when done" (bitcoin/bitcoin, "Windows: Avoid launching as admin when NSIS installer
// ends"; microsoft/msix-packaging, "Launch unelevated"); a process viewer's links were reported
// for opening the browser elevated (winsiderss/systeminformer, "Links from About window and
// Donate item start iexplore with ProcessHacker privileges"). The shell windows may be served
// in-process or by the shell's process, so both are asked for, as the browser does.
//
// The GUIDs are spelt out here: the SDK's libraries that define them are not linked.

namespace app {
namespace {

// CLSID_ShellWindows.
constexpr GUID kShellWindowsClass = {
    0x9ba05972, 0xf6a8, 0x11cf, {0xa4, 0x42, 0x00, 0xa0, 0xc9, 0x0a, 0x8f, 0x39}};
// SID_STopLevelBrowser: the service of the top-level browser of a shell window.
constexpr GUID kTopLevelBrowserService = {
    0x4c96be40, 0x915c, 0x11cf, {0x99, 0xd3, 0x00, 0xaa, 0x00, 0x4a, 0xe8, 0x37}};

// A variant of one value, cleared (its string freed) when it goes.
class Variant {
 public:
  Variant() { win::InitVariant(&value_); }
  explicit Variant(long number) : Variant() {
    V_VT(&value_) = VT_I4;
    V_I4(&value_) = number;
  }
  explicit Variant(win::Bstr text) : Variant() {
    V_VT(&value_) = VT_BSTR;
    V_BSTR(&value_) = text.release();  // freed with the variant
  }
  ~Variant() {
    if (V_VT(&value_) == VT_BSTR) win::FreeBstr(V_BSTR(&value_));
  }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  VARIANT* get() { return &value_; }
  const VARIANT& value() const { return value_; }

 private:
  VARIANT value_;
};

// The automation object of the desktop's view: its IShellFolderViewDual.
HRESULT DesktopViewAutomation(win::ComReference<IShellFolderViewDual>& view) {
  win::ComReference<IShellWindows> shellWindows;
  HRESULT result =
      CoCreateInstance(kShellWindowsClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                       IID_PPV_ARGS(shellWindows.put()));
  if (FAILED(result)) return result;
  Variant desktop(long{CSIDL_DESKTOP});
  Variant root;
  long window = 0;
  win::ComReference<IDispatch> found;
  result = shellWindows.get()->FindWindowSW(desktop.get(), root.get(), SWC_DESKTOP, &window,
                                            SWFO_NEEDDISPATCH, found.put());
  // S_FALSE, with no object, when the session shows no desktop window.
  if (result != S_OK || !found) return FAILED(result) ? result : E_FAIL;
  const auto services = win::QueryComInterface<IServiceProvider>(found.get());
  if (!services) return E_NOINTERFACE;
  win::ComReference<IShellBrowser> browser;
  result = services.get()->QueryService(kTopLevelBrowserService, IID_PPV_ARGS(browser.put()));
  if (FAILED(result)) return result;
  win::ComReference<IShellView> shellView;
  result = browser.get()->QueryActiveShellView(shellView.put());
  if (FAILED(result) || !shellView) return FAILED(result) ? result : E_FAIL;
  win::ComReference<IDispatch> background;
  result = shellView.get()->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(background.put()));
  if (FAILED(result)) return result;
  view = win::QueryComInterface<IShellFolderViewDual>(background.get());
  return view ? S_OK : E_NOINTERFACE;
}

// The desktop shell's application object, whose calls run in the shell's process.
HRESULT FindDesktopShell(win::ComReference<IUnknown>& shell) {
  win::ComReference<IShellFolderViewDual> view;
  HRESULT result = DesktopViewAutomation(view);
  if (FAILED(result)) return result;
  win::ComReference<IDispatch> application;
  result = view.get()->get_Application(application.put());
  if (FAILED(result) || !application) return FAILED(result) ? result : E_FAIL;
  shell = win::QueryComInterface<IUnknown>(application.get());
  return shell ? S_OK : E_NOINTERFACE;
}

// The shell starts the browser from its own process, which has no right to take the foreground,
// so the page may open behind the program's window. The program has that right while the user
// acts on it, and hands it to the shell's process for the call, as Microsoft's documentation of
// CoAllowSetForegroundWindow says a client does for a COM server that is to show a window, and as
// The Old New Thing advises for foreground handed to a COM server (2009-02-20, on a second
// instance that activates the first). Field reports: links opened by a process without the
// foreground right open behind the window (electron/electron, "Windows - Links open only in
// background"; LesFerch/LaunchIE, "Application opens behind file explorer"). The function comes
// with ole32 from Windows 2000 on; it is looked up in the loaded ole32 so that the
// program's import list stays as it is. Its failure (an in-process object, no right to hand on)
// leaves only the window's place to chance: the launch goes on.
HRESULT AllowShellForeground(IUnknown* shell) {
  using AllowFunction = HRESULT(WINAPI*)(IUnknown*, void*);
  const auto allow =
      win::LoadedModuleFunction<AllowFunction>(L"ole32.dll", "CoAllowSetForegroundWindow");
  return allow != nullptr ? allow(shell, nullptr) : E_NOTIMPL;
}

HRESULT OpenInShell(IUnknown* object, const std::wstring& target, int showCommand) {
  const auto shell = win::QueryComInterface<IShellDispatch2>(object);
  if (!shell) return E_NOINTERFACE;
  win::Bstr file(win::AllocateBstr(target));
  if (!file) return E_OUTOFMEMORY;
  Variant arguments;
  Variant directory;
  Variant verb(win::Bstr(win::AllocateBstr(L"open")));
  Variant show(long{showCommand});
  if (V_BSTR(verb.get()) == nullptr) return E_OUTOFMEMORY;
  return shell.get()->ShellExecute(file.get(), arguments.value(), directory.value(), verb.value(),
                                   show.value());
}

}  // namespace

DesktopShellSteps PlatformDesktopShellSteps() {
  return {FindDesktopShell, AllowShellForeground, OpenInShell};
}

HRESULT OpenThroughDesktopShell(const std::wstring& target, int showCommand) {
  return OpenThroughDesktopShell(target, showCommand, PlatformDesktopShellSteps());
}

HRESULT OpenThroughDesktopShell(const std::wstring& target, int showCommand,
                                const DesktopShellSteps& steps) {
  win::ComReference<IUnknown> shell;
  const HRESULT result = steps.find(shell);
  if (FAILED(result)) return result;
  steps.allowForeground(shell.get());
  return steps.open(shell.get(), target, showCommand);
}

}  // namespace app
