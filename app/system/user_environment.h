#pragma once

// The environment that a program started for the person signed in gets: the one Windows makes
// from their profile and the machine's settings at sign-in, not this program's own. A program
// started from a script, a console or an installer carries variables that the desktop's
// programs never see, and Explorer passes its environment on to everything started from it.

#include <string>

namespace app {

// The environment of the program's own account as a fresh sign-in would give it: each
// "name=value" followed by a null; c_str() adds the final null that ends the block. Empty when
// userenv.dll or the token cannot give it. userenv.dll is loaded from the system directory on the
// first call, never imported: it is not one of the DLLs that Windows always takes from there.
std::wstring UserEnvironmentBlock();

}  // namespace app
