#pragma once

// The two registry payloads that switch Internet Explorer's inline images on and off: where
// their import texts live in the program's resources, how they are written out for the
// registry editor, and how the value they set is read back to confirm the change.

#include <windows.h>

#include <string>

#include "win/unique_handle.h"

namespace app {

// One registry payload: the resource holding its import text, the name its import files are
// named after, and the value it gives "Display Inline Images".
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

// The directory of the import files: the user's temporary directory, with a trailing backslash;
// empty when it is unknown.
std::wstring PayloadDirectory();

// Creates a file at path, where nothing may exist yet, holding exactly bytes, and returns a
// handle that holds it open, shared for reading only: readers can open it, but nobody can change,
// replace or delete it while the handle lives. Empty when any step fails; a file it created is
// removed again then, and whatever was at path before is never opened.
win::KernelHandle CreateHeldFile(const std::wstring& path, ResourceBytes bytes);

// The import file of one run of a payload. It lives in the user's temporary directory, which the
// user can always write, which no file-system redirection touches and which the registry editor
// reads whatever its bitness, under a name of its own: the payload's file name with a random
// part ("Ykvo-3f9a0c12.reg"). So a file or link already in that directory is never opened, and
// two instances never use or delete each other's file. The file is held (CreateHeldFile) from
// its creation until the PayloadFile ends, and deleted then.
class PayloadFile {
 public:
  // Writes bytes to a new file named after fileName; false when that failed, and nothing is
  // left behind then.
  PayloadFile(const wchar_t* fileName, ResourceBytes bytes);
  PayloadFile(const PayloadFile&) = delete;
  PayloadFile& operator=(const PayloadFile&) = delete;
  ~PayloadFile();

  explicit operator bool() const { return static_cast<bool>(held_); }
  // Full path of the file; empty when it could not be made.
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
  win::KernelHandle held_;
};

// Reads "Display Inline Images" from the view of the registry that the editor in the Windows
// directory writes. Returns false when the value is missing or not a string.
bool ReadInlineImagesValue(std::wstring* value);

// What "Display Inline Images" says now, as the browser reads it, or why it cannot be told.
enum class InlineImagesState {
  kShown,       // "yes" in any case, or no value at all (nor its key), which means "yes"
  kHidden,      // "no" in any case
  kOther,       // another string
  kWrongType,   // a value that is not a string
  kNoAccess,    // the key may not be read
  kUnreadable,  // any other failure to read it
};

struct InlineImagesSetting {
  InlineImagesState state = InlineImagesState::kUnreadable;
  std::wstring value{};           // the string, where the value is one
  LSTATUS error = ERROR_SUCCESS;  // kUnreadable: the registry's error code
};

// The setting from what reading the value gave: the registry's status, the value's type and its
// text (for a string).
InlineImagesSetting ClassifyInlineImagesValue(LSTATUS status, DWORD type, std::wstring text);

// Reads "Display Inline Images" (in the same view as ReadInlineImagesValue) and says what it
// means. Every question about the setting now (/status, the main window) asks this.
InlineImagesSetting ReadInlineImagesSetting();

// Sets "Display Inline Images" to value (a string) through the registry functions, in the same
// view, creating the key when it is missing. Returns false when the write failed.
bool WriteInlineImagesValue(const wchar_t* value);

}  // namespace app
