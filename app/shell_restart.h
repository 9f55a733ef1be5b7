#pragma once

// Restarting the Windows shell so that a changed setting takes effect at once.

#include <windows.h>

#include <string_view>

namespace app {

// Text and title of the confirmation box.
// "Before refreshing, save your data or close the other open programs first, to avoid needless
// loss!" (with eight leading spaces)
inline constexpr std::wstring_view kRestartPrompt =
    L"        刷新前请先保存好数据或者关闭其他已打开的程序后再进行,以免造成不必要的损失！";
inline constexpr std::wstring_view kNoticeTitle = L"提示";  // "Notice"

// Yes and No, the information icon, No preselected so that Enter at once cancels.
constexpr UINT kRestartPromptStyle = MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2;

// Arguments of the command interpreter: end every explorer.exe by force, then start the shell
// again whatever the first command did.
inline constexpr std::wstring_view kCommandInterpreter = L"cmd.exe";
inline constexpr std::wstring_view kRestartArguments =
    L"/c taskkill /f /im explorer.exe & explorer.exe";

// Asks the user with a Yes/No box owned by `owner`; on Yes starts the restart in a hidden
// command interpreter without waiting for it. On No nothing is started.
void ConfirmAndRestartShell(HWND owner);

}  // namespace app
