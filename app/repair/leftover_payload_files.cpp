#include "app/repair/leftover_payload_files.h"

#include <algorithm>
#include <string>

#include "app/repair/registry_payload.h"
#include "win/unique_handle.h"

namespace app {
namespace {

constexpr size_t kRandomDigits = 8;

constexpr ULONGLONG kFileTimeUnitsPerMs = 10000;  // FILETIME counts 100 ns

ULONGLONG FileTimeValue(const FILETIME& time) {
  return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// The moment before which an import file counts as left over; 0 when this process's start is
// unknown, so that nothing does.
ULONGLONG LeftoverCutoff() {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  const ULONGLONG start = FileTimeValue(created);
  const ULONGLONG age = kLeftoverAgeMs * kFileTimeUnitsPerMs;
  return start > age ? start - age : 0;
}

bool IsLeftover(const WIN32_FIND_DATAW& found, std::wstring_view fileName, ULONGLONG cutoff) {
  constexpr DWORD kNotAPlainFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  return (found.dwFileAttributes & kNotAPlainFile) == 0 &&
         IsPayloadFileName(found.cFileName, fileName) &&
         FileTimeValue(found.ftLastWriteTime) < cutoff;
}

int RemoveLeftoversOf(const std::wstring& directory, std::wstring_view fileName, ULONGLONG cutoff) {
  const size_t dot = std::min(fileName.rfind(L'.'), fileName.size());
  const std::wstring pattern = directory + std::wstring(fileName.substr(0, dot)) + L"-*" +
                               std::wstring(fileName.substr(dot));
  WIN32_FIND_DATAW found{};
  // The search matches short names too; IsLeftover checks the whole long name.
  const win::FileSearch search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                                FindExSearchNameMatch, nullptr, 0));
  if (!search) return 0;
  int removed = 0;
  do {
    if (IsLeftover(found, fileName, cutoff) && DeleteFileW((directory + found.cFileName).c_str())) {
      ++removed;
    }
  } while (FindNextFileW(search.get(), &found));
  return removed;
}

}  // namespace

bool IsPayloadFileName(std::wstring_view name, std::wstring_view fileName) {
  const size_t dot = std::min(fileName.rfind(L'.'), fileName.size());
  const std::wstring_view stem = fileName.substr(0, dot);
  const std::wstring_view extension = fileName.substr(dot);
  if (name.size() != stem.size() + 1 + kRandomDigits + extension.size()) return false;
  const std::wstring_view digits = name.substr(stem.size() + 1, kRandomDigits);
  const auto sameText = [](std::wstring_view a, std::wstring_view b) {
    return _wcsnicmp(a.data(), b.data(), a.size()) == 0;
  };
  const auto isHexDigit = [](wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
  };
  if (!std::all_of(digits.begin(), digits.end(), isHexDigit)) return false;
  return sameText(name.substr(0, stem.size()), stem) && name[stem.size()] == L'-' &&
         sameText(name.substr(name.size() - extension.size()), extension);
}

int RemoveLeftoverPayloadFiles() {
  const std::wstring directory = PayloadDirectory();
  const ULONGLONG cutoff = LeftoverCutoff();
  if (directory.empty() || cutoff == 0) return 0;
  int removed = 0;
  for (const RegistryPayload* payload : {&kShowInlineImages, &kHideInlineImages}) {
    removed += RemoveLeftoversOf(directory, payload->fileName, cutoff);
  }
  return removed;
}

}  // namespace app
