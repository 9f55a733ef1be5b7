#pragma once

// The two registry payloads that switch Internet Explorer's inline images on and off: where
// their import texts live in the program's resources, how they are written out for the
// registry editor, and how the value they set is read back to confirm the change.

#include <windows.h>

#include <string>

namespace app {

// One registry payload: the resource holding its import text, the name of the file it is
// written to for the registry editor, and the value it gives "Display Inline Images".
struct RegistryPayload {
  WORD resourceId;
  const wchar_t* fileName;
  const wchar_t* value;
};

inline constexpr RegistryPayload kShowInlineImages{101, L"Ykvo.reg", L"yes"};
inline constexpr RegistryPayload kHideInlineImages{102, L"Nkvo.reg", L"no"};

// Resource type and language under which both import texts are stored.
inline constexpr wchar_t kPayloadResourceType[] = L"CUSTOM";
inline constexpr WORD kPayloadLanguage = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// The per-user value the payloads change.
inline constexpr wchar_t kInlineImagesKey[] = L"Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr wchar_t kInlineImagesValueName[] = L"Display Inline Images";

// Bytes of a resource, valid as long as the module stays loaded.
struct ResourceBytes {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

// The import text of the payload with the given identifier from the module's resources;
// empty when the module does not hold it.
ResourceBytes LoadPayloadBytes(HMODULE module, WORD resourceId);

// Full path of the payload file: the name in the user's temporary directory, which the user
// can always write, which no file-system redirection touches, and which the registry editor
// reads whatever its bitness. Empty when the temporary directory is unknown.
std::wstring PayloadFilePath(const wchar_t* fileName);

// Makes the file at path hold exactly the given bytes: a leftover file is stripped of its
// hidden, system and read-only marks and truncated, a missing one created. Returns false when
// any step fails, in which case the file must not be used.
bool WritePayloadFile(const std::wstring& path, ResourceBytes bytes);

// Reads "Display Inline Images" from the view of the registry that the editor in the Windows
// directory writes. Returns false when the value is missing or not a string.
bool ReadInlineImagesValue(std::wstring* value);

// Sets "Display Inline Images" to value (a string) through the registry functions, in the same
// view, creating the key when it is missing. Returns false when the write failed.
bool WriteInlineImagesValue(const wchar_t* value);

// Whether the browser shows inline images: the value is "yes" (in any case) or missing, which
// it treats as "yes". Any other value, and a value that cannot be read, counts as hidden.
bool InlineImagesShown();

}  // namespace app
