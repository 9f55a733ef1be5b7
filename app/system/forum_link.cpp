#include "app/system/forum_link.h"

#include <utility>

#include "app/system/message_wait.h"
#include "win/dll_search.h"
#include "win/module_function.h"

namespace app {
namespace {

constexpr wchar_t kNotOpenedTitle[] = L"提示";  // "Notice"

ForumLinkSeams seams;

// True during the call. The call may go to the shell's process, or start the browser through
// DDE, and meanwhile the thread dispatches the window's messages: a second click must not ask
// again.
bool opening = false;

// Not elevated, the address goes to ShellExecuteEx, as Windows opens links: the user's default
// browser opens it in a normal window. Its documentation asks for COM on the thread first (the
// user-interface thread is in a single-threaded apartment) and says the call may take long while
// it starts the handler. The program once started `rundll32 url.dll,FileProtocolHandler`, whose
// exact command line is on the public lists of system programs that attackers misuse and that
// security products watch for (api0cradle/UltimateAppLockerByPassList, "url.dll -
// FileProtocolHandler"; redcanaryco/atomic-red-team, "Rundll32 FileProtocolHandler Command
// Execution Evasion", a test of whether antivirus products catch it; directgate, "Removed
// rundll32.exe url.dll,FileProtocolHandler from defender trust"): for a small download, an
// invitation to a false alarm. SEE_MASK_FLAG_NO_UI: where nothing opens, the program's own box says
// what to do.
bool OpenAsWindowsOpensLinks(HWND owner, const std::wstring& address) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.hwnd = owner;
  info.lpVerb = L"open";
  info.lpFile = address.c_str();
  info.nShow = SW_SHOWNORMAL;
  return seams.shellExecute(&info) != FALSE;
}

}  // namespace

BOOL WINAPI ShellExecuteThroughShell32(SHELLEXECUTEINFOW* info) {
  using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
  static const auto shellExecute = win::ModuleFunction<ShellExecuteExFunction>(
      win::LoadSystemLibrary(L"shell32.dll"), "ShellExecuteExW");  // kept for the process
  if (shellExecute == nullptr) {
    SetLastError(ERROR_DLL_NOT_FOUND);
    return FALSE;
  }
  return shellExecute(info);
}

ForumLinkSeams SetForumLinkSeamsForTesting(const ForumLinkSeams& replacement) {
  return std::exchange(seams, replacement);
}

std::wstring ForumNotOpenedText(bool elevated) {
  // Elevated: "The forum could not be opened. The program runs with administrator rights (started
  // with "Run as administrator", for example); for safety it does not open the browser with them,
  // but asks Explorer to open the forum as the signed-in user, which did not succeed." Not
  // elevated: "Windows could not open the forum." Then: "Open the browser, type <address> in its
  // address bar and press Enter." The address stands between spaces, apart from the words around
  // it.
  const std::wstring what =
      elevated
          ? L"未能打开论坛。本程序正以管理员权限运行（例如通过“以管理员身份运行”启动），"
            L"为安全起见，它不以此权限打开浏览器，而是请资源管理器以当前登录的用户身份打开论坛，"
            L"但未成功。"
          : L"Windows 未能打开论坛。";
  return what + L"\n\n请打开浏览器，在地址栏中输入 " + ForumPageAddress() + L" 并按 Enter 键。";
}

// A browser started from an elevated program runs elevated, and so does every page and download
// it opens; the desktop's shell starts it as the person signed in instead. The window is disabled
// during either call, as during the repair's wait: the call dispatches messages, and a close
// request could otherwise destroy the window that the box after it is owned by.
void OpenForum(HWND owner) {
  if (std::exchange(opening, true)) return;
  const bool elevated = seams.elevated();
  bool opened = false;
  {
    const DisabledWindowScope disabled(owner, IDC_APPSTARTING);
    const std::wstring address = ForumPageAddress();
    opened = elevated ? SUCCEEDED(seams.openThroughDesktopShell(address, SW_SHOWNORMAL))
                      : OpenAsWindowsOpensLinks(owner, address);
  }
  opening = false;
  if (opened || (owner != nullptr && !IsWindow(owner))) return;
  const std::wstring text = ForumNotOpenedText(elevated);
  MessageBoxW(owner, text.c_str(), kNotOpenedTitle, MB_OK | MB_ICONINFORMATION);
}

}  // namespace app
