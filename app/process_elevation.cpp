#include "app/process_elevation.h"

#include <windows.h>

#include "win/module_function.h"
#include "win/unique_handle.h"

namespace app {

// The token functions are looked up in advapi32, never imported: the program imports only
// registry functions from it (see app/session_users.cpp). TOKEN_ELEVATION_TYPE's documentation:
// TokenElevationTypeFull is the elevated token of a split pair, TokenElevationTypeDefault a token
// without one (UAC off, or the built-in administrator); a major browser's launcher tells the same
// three apart before relaunching itself unelevated (Firefox's LaunchUnelevated and
// GetElevationState). Wine, which has no split tokens, reports TokenElevationTypeFull.
bool ProcessRunsElevated() {
  const auto openProcessToken =
      win::LoadedModuleFunction<decltype(&OpenProcessToken)>(L"advapi32.dll", "OpenProcessToken");
  const auto getTokenInformation = win::LoadedModuleFunction<decltype(&GetTokenInformation)>(
      L"advapi32.dll", "GetTokenInformation");
  if (openProcessToken == nullptr || getTokenInformation == nullptr) return false;
  win::KernelHandle token;
  if (!openProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  return getTokenInformation(token.get(), TokenElevationType, &type, sizeof type, &size) &&
         type == TokenElevationTypeFull;
}

}  // namespace app
