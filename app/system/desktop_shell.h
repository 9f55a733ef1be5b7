#pragma once

// Opening a document or an address through the desktop's own shell, so that what opens runs as
// the person signed in to the desktop, with the rights the desktop has, not with the program's.

#include <windows.h>

#include <string>

#include "win/com_reference.h"

namespace app {

// The steps of OpenThroughDesktopShell, so that a test can put stand-ins in their place and see
// their order: find the desktop shell's application object (an IShellDispatch2, or its proxy),
// hand it the right to take the foreground, and have it open the target.
struct DesktopShellSteps {
  HRESULT (*find)(win::ComReference<IUnknown>& shell);
  HRESULT (*allowForeground)(IUnknown* shell);
  HRESULT (*open)(IUnknown* shell, const std::wstring& target, int showCommand);
};

// The platform's steps.
DesktopShellSteps PlatformDesktopShellSteps();

// Asks the shell process that shows this session's desktop to open `target` (a web address, or
// a file) with its "open" verb in a window of `showCommand`, after handing it the right to bring
// what it opens to the foreground. S_OK when the shell took the request; a failure where there is
// no desktop shell to ask (no shell running, another shell than the platform's) or it refused.
// The calling thread must be in a single-threaded apartment.
HRESULT OpenThroughDesktopShell(const std::wstring& target, int showCommand);
HRESULT OpenThroughDesktopShell(const std::wstring& target, int showCommand,
                                const DesktopShellSteps& steps);

}  // namespace app
