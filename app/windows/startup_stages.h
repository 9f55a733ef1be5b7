#pragma once

// Marks of the program's start-up, for the benchmark that shows where its time goes: the
// performance counter as each stage ends, from the first line to the main window's first paint.
// A mark costs one read of the counter and is taken once; the marks are written to the standard
// output only when the environment names kStartupStagesVariable (the benchmark sets it and gives
// the program a pipe), so that a user's start writes nothing.

namespace app {

// Set to any value, the program writes its start-up marks as its main window's first paint ends.
inline constexpr wchar_t kStartupStagesVariable[] = L"MORVANE_STARTUP_STAGES";

// The stages in the order they end.
enum class StartupStage {
  kFirstLine,      // the program's first line runs: the loader, its DLLs and the C runtime
  kApartment,      // the DLL search is restricted, the command line read, the COM apartment joined
  kDialogCreated,  // the dialog manager has made the main window from its template, with icons
  kLaidOut,        // children, fonts and layout at the window's DPI (no tooltip yet)
  kSkinned,        // the skin is on the window and its controls
  kShown,          // the window is shown, in the foreground, with the focus on the first command
  kFirstPaint,     // the window's own first paint has ended
};
inline constexpr int kStartupStageCount = static_cast<int>(StartupStage::kFirstPaint) + 1;

// The names the marks are written under, one per stage, in the stages' order.
inline constexpr const char* kStartupStageNames[kStartupStageCount] = {
    "first-line", "apartment", "dialog-created", "laid-out", "skinned", "shown", "first-paint"};

// Takes the mark of the stage unless it was taken before; when the environment asks for the
// marks, also the process's working set and private bytes at that moment. The mark of the first
// paint then writes all of them, one line each ("<name> <counter> <working set> <private>", the
// last two in bytes).
void MarkStartupStage(StartupStage stage);

}  // namespace app
