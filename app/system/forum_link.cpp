#include "app/system/forum_link.h"

#include <utility>

#include "app/system/process_launch.h"

namespace app {
namespace {

constexpr wchar_t kNotOpenedTitle[] = L"提示";  // "Notice"

ForumLinkSeams seams;

// True while the desktop's shell is asked. The call goes to the shell's process, and meanwhile
// the thread's apartment dispatches the window's messages: a second click must not ask again.
bool askingShell = false;

}  // namespace

ForumLinkSeams SetForumLinkSeamsForTesting(const ForumLinkSeams& replacement) {
  return std::exchange(seams, replacement);
}

std::wstring ForumHandlerArguments() {
  std::wstring arguments = L"url.dll,FileProtocolHandler \"";
  arguments += ForumPageAddress();
  arguments += L"\"";
  return arguments;
}

std::wstring ForumNotOpenedText() {
  // "The forum could not be opened. The program runs with administrator rights (started with
  // "Run as administrator", for example); for safety it does not open the browser with them, but
  // asks Explorer to open the forum as the signed-in user, which did not succeed. Open the
  // browser, type <address> in its address bar and press Enter." The address stands between
  // spaces, apart from the words around it.
  return L"未能打开论坛。本程序正以管理员权限运行（例如通过“以管理员身份运行”启动），"
         L"为安全起见，它不以此权限打开浏览器，而是请资源管理器以当前登录的用户身份打开论坛，"
         L"但未成功。\n\n"
         L"请打开浏览器，在地址栏中输入 " +
         ForumPageAddress() + L" 并按 Enter 键。";
}

// A browser started from an elevated program runs elevated, and so does every page and download
// it opens; the desktop's shell starts it as the person signed in instead.
void OpenForum(HWND owner) {
  if (!seams.elevated()) {
    StartSystemProgram(kUrlHandlerHost, ForumHandlerArguments(), SW_SHOWNORMAL);
    return;
  }
  if (std::exchange(askingShell, true)) return;
  const HRESULT result = seams.openThroughDesktopShell(ForumPageAddress(), SW_SHOWNORMAL);
  askingShell = false;
  if (SUCCEEDED(result)) return;
  const std::wstring text = ForumNotOpenedText();
  MessageBoxW(owner, text.c_str(), kNotOpenedTitle, MB_OK | MB_ICONINFORMATION);
}

}  // namespace app
