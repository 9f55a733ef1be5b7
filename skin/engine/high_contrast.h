#pragma once

// The skin steps aside while the system runs a high-contrast colour scheme: the windows then keep
// the platform's own look, which follows the scheme, instead of the skin's fixed colours. This
// file says whether the system runs one; the engine's SkinInstall and SkinFollowHighContrast
// (skin/engine/skin_engine.h) act on it.

#include <windows.h>

namespace skin {

// True while the system runs a high-contrast scheme (SPI_GETHIGHCONTRAST, HCF_HIGHCONTRASTON).
// SkinInstall attaches nothing then.
bool HighContrastOn();

// Test seam, not for the program: replaces the platform's answer to HighContrastOn with query
// (nullptr puts the platform's back) and returns the query it replaces. Wine always reports
// high contrast as off and cannot switch it on, so tests steer the state here and send the real
// change messages to the windows.
using HighContrastQuery = bool (*)();
HighContrastQuery SetHighContrastQueryForTesting(HighContrastQuery query);

}  // namespace skin
