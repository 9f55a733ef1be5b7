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
  // "The program runs with administrator rights (started with "Run as administrator", for
  // example), and for safety does not open the browser with them; opening the forum as the
  // signed-in user through Explorer did not succeed either. Open the browser yourself and enter
  // <address> in its address bar to visit the forum."
  return L"本程序正以管理员权限运行（例如通过“以管理员身份运行”启动），"
         L"为安全起见，不以此权限打开浏览器；"
         L"通过资源管理器以当前登录的用户打开论坛也未能成功。\n\n"
         L"请自行打开浏览器，在地址栏中输入 " +
         ForumPageAddress() + L" 访问论坛。";
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
