#pragma once

// The two commands that switch Internet Explorer's inline images on (Command2 of the main
// window, the /show switch) and off (Command3, /hide) through a registry payload.

#include <windows.h>

#include <string>

#include "app/repair/inline_images_policy.h"
#include "app/repair/registry_payload.h"

namespace app {

// What one command applies and what it tells the user.
struct InlineImageCommand {
  const RegistryPayload& payload;
  const wchar_t* successText;
  const wchar_t* failureText;
};

extern const InlineImageCommand kShowCommand;
extern const InlineImageCommand kHideCommand;

// What applying a command came to.
struct InlineImagesOutcome {
  bool holds = false;                   // the value now holds what the command sets
  bool editorDisabledByPolicy = false;  // a policy value disables the registry editor
  // A Group Policy that holds the setting: the command changed nothing. holds says whether the
  // policy holds what the command sets.
  InlineImagesPolicy policy = InlineImagesPolicy::kNone;
  // What Internet Options' own box writes, which the next OK there may undo the repair with.
  PictureBoxMapping mapping = PictureBoxMapping::kIntact;
  // Not empty when the program runs as another account than the person signed in: the command
  // was refused, nothing was changed, and this says why.
  std::wstring otherUserNotice;
};

// Refuses, changing nothing, when the program does not act for the person signed in
// (ActsForSignedInUser), and changes nothing either when a Group Policy holds the setting
// (ReadInlineImagesPolicy). Otherwise removes the import files that earlier runs left behind
// (RemoveLeftoverPayloadFiles), then
// sets "Display Inline Images" as the command says: through the registry editor first (unless a
// policy blocks it outright) and, when its import did not take effect (editor missing, blocked,
// hung or importing nothing), directly through the registry functions. owner, when not null, is the
// window that stays disabled while the editor runs. The value read back afterwards is the only
// proof of success.
InlineImagesOutcome ApplyInlineImageCommand(HWND owner, const InlineImageCommand& command);

// What the user is told about an outcome: the notice of a refused command; or, under a Group
// Policy that holds the setting, that it does and what, and what to do next; or the command's
// success or failure sentence and, when a policy disables the registry editor, a sentence that
// says so. Where Internet Options' box has been altered, a sentence that says so follows. The
// sentences are joined by separator.
std::wstring InlineImagesReport(const InlineImageCommand& command,
                                const InlineImagesOutcome& outcome, const wchar_t* separator);

}  // namespace app

namespace app::form1 {

// The one command of the main window at work: while one runs, no other starts (its waits and
// boxes dispatch messages, so a click that slipped through, or a screen reader's press, would
// otherwise start a second). started() is false, and nothing should be done, when another is at
// work already. A close request that came meanwhile is carried out when the command ends.
class RunningCommand {
 public:
  explicit RunningCommand(HWND form);
  RunningCommand(const RunningCommand&) = delete;
  RunningCommand& operator=(const RunningCommand&) = delete;
  ~RunningCommand();
  bool started() const { return started_; }

 private:
  HWND form_;
  bool started_;
};

// Set "Display Inline Images" to "yes" / "no", then tell the user whether it worked. form is
// the main window, the owner of the boxes shown; it stays disabled while the registry editor
// runs. A click that arrives while any command is still at work is ignored.
void Command2_Click(HWND form);
void Command3_Click(HWND form);

// A request to close the main window. While a command is at work (its wait for the
// registry editor and its result box both dispatch messages), returns true and closes the window
// once the command has ended and its result box has been answered, so that the user always sees
// the result; the window stays disabled meanwhile. Returns false when no command is at work.
bool CloseAfterRunningCommand(HWND form);

}  // namespace app::form1
