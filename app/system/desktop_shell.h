#pragma once

// Opening a document or an address through the desktop's own shell, so that what opens runs as
// the person signed in to the desktop, with the rights the desktop has, not with the program's.

#include <windows.h>

#include <string>

namespace app {

// Asks the shell process that shows this session's desktop to open `target` (a web address, or
// a file) with its "open" verb in a window of `showCommand`. S_OK when the shell took the
// request; a failure where there is no desktop shell to ask (no shell running, another shell
// than the platform's) or it refused. The calling thread must be in a single-threaded apartment.
HRESULT OpenThroughDesktopShell(const std::wstring& target, int showCommand);

}  // namespace app
