#pragma once

// The two programs the start-up and memory rows start, as the release ships them (stripped
// copies in the folder "startup" beside the benchmark), and the pointer parked away from where
// their windows open.

#include <string>

namespace bench {

inline constexpr wchar_t kProgramName[] = L"Morvane.exe";
inline constexpr wchar_t kBareDialogName[] = L"morvane_bare_dialog.exe";

// The full path of the stripped copy of the named program.
std::wstring StrippedCopy(const wchar_t* name);

// Moves the pointer into the screen's corner: a window that opens under it gets mouse messages
// at once, which belong to the first hover, not to the start.
void ParkPointer();

}  // namespace bench
