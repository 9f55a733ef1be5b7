#pragma once

// What the program tells a person about the inline-image setting as it is now: the line /status
// prints, and the tooltip and accessible description of the main window's two repair commands.
// Run as another account than the one signed in, they say whose setting it is.

#include <string>

#include "app/repair/registry_payload.h"
#include "app/system/session_users.h"

namespace app {

// One sentence in Chinese for the setting: shown, hidden, the string that is there instead, or
// why it cannot be told (a value that is no string, no access, another error). A setting that
// could not be read never reads as shown or hidden.
std::wstring InlineImagesStatusText(const InlineImagesSetting& setting);

// The same sentence for the setting of the account the program runs as, followed, when that is
// not the person signed in (see WhoseSettingNote), by one that names whose setting it is.
std::wstring InlineImagesStatusText(const InlineImagesSetting& setting, const SessionUsers& users);

// The sentences for the setting as it is read now, for the users of this session.
std::wstring CurrentInlineImagesStatusText();

}  // namespace app
