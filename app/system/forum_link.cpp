#include "app/system/forum_link.h"

#include <windows.h>

#include "app/system/process_launch.h"

namespace app {

std::wstring ForumHandlerArguments() {
  std::wstring arguments = L"url.dll,FileProtocolHandler \"";
  arguments += ForumPageAddress();
  arguments += L"\"";
  return arguments;
}

void OpenForum() { StartSystemProgram(kUrlHandlerHost, ForumHandlerArguments(), SW_SHOWNORMAL); }

}  // namespace app
