#pragma once

// Import files that outlived their run, left in the user's temporary directory by a run that was
// killed while the editor worked (taskkill /f, logging off). A run that ends deletes its own file
// as its PayloadFile ends (app/repair/registry_payload.h).

#include <windows.h>

#include <string_view>

namespace app {

// How much older than this run's start an import file must be to count as left over. A copy
// started at about the same moment writes its file, closes it and opens it again to hold it,
// all after its own start, so its file is never that old; between writing and holding, the file
// is open to nobody and could otherwise be taken for a leftover.
inline constexpr ULONGLONG kLeftoverAgeMs = 5 * 60 * 1000;

// True when name is one that PayloadFile gives the payload file fileName: its stem, '-', eight
// hexadecimal digits and its extension ("Ykvo-3f9a0c12.reg" for "Ykvo.reg"), in any case.
bool IsPayloadFileName(std::wstring_view name, std::wstring_view fileName);

// Deletes the import files of both payloads in the user's temporary directory that were last
// written more than kLeftoverAgeMs before this process started. Only plain files of those names
// are touched; one that a running copy holds open cannot be deleted and stays. Returns how many
// were deleted.
int RemoveLeftoverPayloadFiles();

}  // namespace app
