#include "app/shell_restart.h"

#include <string>

#include "app/process_launch.h"

namespace app {

void ConfirmAndRestartShell(HWND owner) {
  const std::wstring prompt(kRestartPrompt);
  const std::wstring title(kNoticeTitle);
  if (MessageBoxW(owner, prompt.c_str(), title.c_str(), kRestartPromptStyle) != IDYES) return;
  StartSystemProgram(kCommandInterpreter, kRestartArguments, SW_HIDE);
}

}  // namespace app
