#pragma once

// Form2, the instructions window: a picture of a web page whose pictures fail to load and a
// paragraph of text under it. A modeless dialog made from a template, class "#32770". Closing it
// brings back the window that opened it: the main window hands over its own Show as it opens this
// one, so that this window needs to know nothing of it.

#include <windows.h>

#include <string_view>

namespace app::form2 {

// Label1, with its four leading spaces: "If you use Microsoft's IE, clicking about in its
// settings, or tuning and malicious software changing the registry, can leave IE unable to show
// the pictures in a page, as in the picture above. People who know computers fix this easily;
// those who do not can let this program fix it."
inline constexpr std::wstring_view kLabel1Text =
    L"    如果你是用微软IE的用户，有时候我们乱点乱设置，或者被其他优化软件和恶意软件修改注册表。"
    L"当你打开IE的时候，发现里头的图片无法显示，如上图的样子。懂电脑的人很容易就可以解决了，"
    L"不知道的没有关系，用这个软件帮你解决。";

// What closing the window calls to bring back the window that opened it (form1::Show).
using ShowOpener = HWND (*)();

// Loads the window if needed and shows it modeless, without an owner, centred on the screen.
// Closing it calls showOpener, where one is given (the latest Show's), before it unloads.
HWND Show(ShowOpener showOpener = nullptr);

// Destroys the window without bringing the main window back (the main window's own unload uses
// this). Nothing happens when it is not loaded.
void Unload();

// The loaded window, or null.
HWND Window();

// The user closes the window: the window that opened it, where Show named one, is shown again
// (the main window, loaded afresh), then this window finishes unloading. Never cancels.
void Form_QueryUnload(HWND form);

}  // namespace app::form2
