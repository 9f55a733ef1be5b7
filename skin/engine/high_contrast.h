#pragma once

// The skin steps aside while the system runs a high-contrast colour scheme: the windows then keep
// the platform's own look, which follows the scheme, instead of the skin's fixed colours.

#include <windows.h>

namespace skin {

// True while the system runs a high-contrast scheme (SPI_GETHIGHCONTRAST, HCF_HIGHCONTRASTON).
// SkinInstall attaches nothing then.
bool HighContrastOn();

// For WM_SETTINGCHANGE and WM_SYSCOLORCHANGE of a form the skin was installed on. With high
// contrast on, takes the skin off every skinned top-level window of the calling thread (the form
// and any box it has open) and everything inside them; with it off, installs the skin on the
// form again. Returns 1 when it acted, 0 when the windows already looked as they should.
int SkinFollowHighContrast(HWND form);

// Test seam, not for the program: replaces the platform's answer to HighContrastOn with query
// (nullptr puts the platform's back) and returns the query it replaces. Wine always reports
// high contrast as off and cannot switch it on, so tests steer the state here and send the real
// change messages to the windows.
using HighContrastQuery = bool (*)();
HighContrastQuery SetHighContrastQueryForTesting(HighContrastQuery query);

}  // namespace skin
