#pragma once

// What the program tells a person about the inline-image setting as it is now: the line /status
// prints, and the tooltip and accessible description of the main window's two repair commands.
// Run as another account than the one signed in, they say whose setting it is. A Group Policy
// that holds the setting speaks over the user's value, and an altered Internet Options box adds a
// sentence.

#include <string>

#include "app/repair/inline_images_policy.h"
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

// Everything that decides whether pictures show, as read at one moment.
struct InlineImagesStatus {
  InlineImagesSetting setting{};
  InlineImagesPolicy policy = InlineImagesPolicy::kNone;
  PictureBoxMapping mapping = PictureBoxMapping::kIntact;
};

InlineImagesStatus ReadInlineImagesStatus();

// True when pictures are shown, whatever holds them so: a policy that holds them shown, or, with
// no policy, the user's value.
bool PicturesShown(const InlineImagesStatus& status);

// The sentences for a status: under a policy, that the policy holds the setting, to what, and
// that only the administrator can change it; else the sentence for the user's value. Then whose
// setting it is (see WhoseSettingNote) and, with no policy, how Internet Options' box has been
// altered (PictureBoxSentence).
std::wstring InlineImagesStatusText(const InlineImagesStatus& status, const SessionUsers& users);

// The sentences for the setting as it is read now, for the users of this session.
std::wstring CurrentInlineImagesStatusText();

}  // namespace app
