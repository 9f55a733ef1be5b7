#pragma once

// What decides whether pictures show besides the user's own "Display Inline Images": a Group
// Policy that holds the setting, and Internet Options' own "显示图片" box, whose mapping to the
// value's strings may have been rewritten. The repair commands, /status, the tooltip and the
// buttons' accessible description all read them here.

#include <windows.h>

#include <string>

namespace app {

// Whether a Group Policy holds the setting, and to what.
enum class InlineImagesPolicy {
  kNone,    // no policy: the user's own value decides
  kShown,   // the policy holds pictures shown
  kHidden,  // the policy holds pictures hidden
};

// The policy from what reading its value gave: the registry's status, the value's type and its
// text (for a string). Only the two strings the administrative template writes, in any case,
// count as a policy; anything else leaves the user's value in charge.
InlineImagesPolicy ClassifyInlineImagesPolicy(LSTATUS status, DWORD type, const std::wstring& text);

// Reads the user's policy value for the setting.
InlineImagesPolicy ReadInlineImagesPolicy();

// What Internet Options' "显示图片" box writes, compared with what it should write.
enum class PictureBoxMapping {
  kIntact,         // "yes" when ticked and "no" when cleared, or no mapping to read at all
  kTickingHides,   // ticking it writes something other than "yes"
  kClearingShows,  // ticking it writes "yes", but clearing it writes something other than "no"
};

// One of the two strings of the mapping as reading it gave: its status, type and text.
struct MappingValue {
  LSTATUS status = ERROR_FILE_NOT_FOUND;
  DWORD type = REG_NONE;
  std::wstring text{};
};

// The mapping from its two values. A value that is missing (or its key) is no change; one that
// is there and is not its string, in any case, is.
PictureBoxMapping ClassifyPictureBoxMapping(const MappingValue& checked,
                                            const MappingValue& unchecked);

// Reads the box's mapping from the machine's part of the registry.
PictureBoxMapping ReadPictureBoxMapping();

// The one sentence that says how the box has been altered; empty when it is intact.
std::wstring PictureBoxSentence(PictureBoxMapping mapping);

// Where the policy is, in a bracket to follow the sentence that names it: the policy's place in
// the Group Policy editor and the Internet Options box it holds.
const wchar_t* InlineImagesPolicyPlace();

}  // namespace app
