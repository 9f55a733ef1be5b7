#pragma once

// What a screen reader finds in a push button the skin draws: the button it was before the skin
// made it owner-drawn, as the platform describes one. Its role, its caption without the mnemonic
// marker as its name, the shortcut the marker gives, its state (focused, focusable, pressed,
// unavailable, default: the default role is kept under "OLDSTYLE") and a default action that
// clicks it. Once the button is gone or no longer drawn by the skin, an object handed out earlier
// answers that it is disconnected, and the platform's own object answers for the button again.

#include <string>
#include <string_view>

#include "skin/messages/message_handlers.h"

namespace skin {

// Where the description of a skinned push button comes from: a text that a reader speaks after
// the button's name, read afresh for every question; empty for none. The application names one
// source for the whole process (null: no button has a description), since only it knows what its
// buttons stand for.
using ButtonDescriptionSource = std::wstring (*)(HWND button);
void SetButtonDescriptionSource(ButtonDescriptionSource source);

// WM_GETOBJECT of a skinned push button: the button's one object for OBJID_CLIENT, kept while
// the skin draws it; any other question goes to the previous procedure.
LRESULT AnswerPushButtonObject(const SkinMessage& message);

// Disconnects and lets go of the button's object, as the skin lets go of the button (at its
// destruction too); the platform's own object answers for it from then on.
void ReleasePushButtonObject(HWND button);

// A caption as a reader names it: "&&" stands for "&", any other "&" marks the mnemonic and goes.
std::wstring CaptionWithoutMnemonic(std::wstring_view caption);

// The keyboard shortcut of a caption's mnemonic ("&Yes": "Alt+Y"), or nothing without one.
std::wstring MnemonicShortcut(std::wstring_view caption);

}  // namespace skin
