#pragma once

// What the program tells a person about the inline-image setting as it is now: the line /status
// prints, and the tooltip and accessible description of the main window's two repair commands.

#include <string>

#include "app/repair/registry_payload.h"

namespace app {

// One sentence in Chinese for the setting: shown, hidden, the string that is there instead, or
// why it cannot be told (a value that is no string, no access, another error). A setting that
// could not be read never reads as shown or hidden.
std::wstring InlineImagesStatusText(const InlineImagesSetting& setting);

// The sentence for the setting as it is read now.
std::wstring CurrentInlineImagesStatusText();

}  // namespace app
