#include "app/repair/registry_payload.h"

#include <bcrypt.h>    // BCryptGenRandom, declared only: looked up at run time
#include <ntsecapi.h>  // RtlGenRandom (SystemFunction036), the same

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "win/dll_search.h"
#include "win/module_function.h"

namespace app {
namespace {

// How many random names are tried before giving up: a name fails only when a file of that name
// is there already, or when the directory takes no new file at all.
constexpr int kNameAttempts = 8;

// How long a second delete of an import file waits for a holder that is on its way out.
constexpr DWORD kDeleteRetryPauseMs = 250;

// How often the value is read when it keeps growing between the question of its size and the
// reading.
constexpr int kReadAttempts = 4;

// The value lies under HKEY_CURRENT_USER\Software, which WOW64 shares between the 32-bit and the
// 64-bit view (only parts of Software\Classes are redirected: Microsoft's "Registry Keys Affected
// by WOW64"), so the registry editor meets the same value whichever copy runs: this 32-bit
// program, starting %windir%\regedit.exe, gets the 32-bit copy in SysWOW64 (Microsoft's "File
// System Redirector"; packaging projects report the same of their 32-bit launchers). The program
// still reads and writes in the 64-bit view, so that either build of it names the one place a
// 64-bit browser reads; a 32-bit system ignores the flag.
constexpr REGSAM kEditorView = KEY_WOW64_64KEY;

// The strings the browser reads as "show" and "hide", in any case.
constexpr wchar_t kShownValue[] = L"yes";
constexpr wchar_t kHiddenValue[] = L"no";

// Fills the buffer from the system's random number generator: bcrypt's, loaded from the system
// directory, or advapi32's RtlGenRandom where that fails. Both are looked up here, never imported:
// advapi32 forwards RtlGenRandom to cryptbase.dll, which is no known DLL, so an import would be
// resolved as the program loads, before its DLL search is restricted, from the program's folder
// first. False when neither gives a number.
bool FillRandom(void* buffer, ULONG size) {
  const win::Module bcrypt(win::LoadSystemLibrary(L"bcrypt.dll"));
  if (const auto generate =
          win::ModuleFunction<decltype(&BCryptGenRandom)>(bcrypt.get(), "BCryptGenRandom")) {
    if (BCRYPT_SUCCESS(generate(nullptr, static_cast<PUCHAR>(buffer), size,
                                BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
      return true;
    }
  }
  const auto rtlGenRandom =
      win::LoadedModuleFunction<decltype(&RtlGenRandom)>(L"advapi32.dll", "SystemFunction036");
  return rtlGenRandom != nullptr && rtlGenRandom(buffer, size);
}

// fileName with eight random hexadecimal digits before its extension ("Ykvo-3f9a0c12.reg"), so
// that nobody can tell the name in advance; empty when the system gives no random number.
std::wstring PrivateFileName(std::wstring_view fileName) {
  ULONG random = 0;
  if (!FillRandom(&random, sizeof random)) return {};
  const size_t dot = std::min(fileName.rfind(L'.'), fileName.size());
  std::wstring digits(8, L'0');
  for (size_t i = digits.size(); i-- > 0; random >>= 4)
    digits[i] = L"0123456789abcdef"[random & 0xF];
  return std::wstring(fileName.substr(0, dot)) + L'-' + digits + std::wstring(fileName.substr(dot));
}

// True when the file, read from where its handle stands, holds exactly bytes and no more.
bool HoldsExactly(HANDLE file, ResourceBytes bytes) {
  std::vector<BYTE> content(bytes.size + 1);
  DWORD read = 0;
  return ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr) &&
         read == bytes.size && std::equal(bytes.data, bytes.data + bytes.size, content.begin());
}

// Reads the value's type and, for a string, its text without the terminators it may carry:
// ERROR_SUCCESS, or the registry's error from opening the key or reading the value. A value that
// grows between the question of its size and the reading is asked for again.
LSTATUS QueryInlineImagesValue(DWORD* type, std::wstring* text) {
  win::RegistryKey key;
  LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, kInlineImagesKey, 0,
                                 KEY_QUERY_VALUE | kEditorView, key.put());
  if (status != ERROR_SUCCESS) return status;
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    DWORD size = 0;
    status = RegQueryValueExW(key.get(), kInlineImagesValueName, nullptr, type, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    if (*type != REG_SZ) return ERROR_SUCCESS;
    // One character more than asked for: the stored string need not end with a terminator.
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    status = RegQueryValueExW(key.get(), kInlineImagesValueName, nullptr, type,
                              reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return status;
    buffer.resize(size / sizeof(wchar_t));
    while (!buffer.empty() && buffer.back() == L'\0') buffer.pop_back();
    *text = std::move(buffer);
    return ERROR_SUCCESS;
  }
  return status;
}

// Deletes a file that a process ended a moment ago may not have let go of yet: where the first
// attempt meets a sharing violation, once more after a short pause. True when the file is gone.
bool DeleteReleasedFile(const std::wstring& path) {
  if (DeleteFileW(path.c_str())) return true;
  if (GetLastError() != ERROR_SHARING_VIOLATION && GetLastError() != ERROR_ACCESS_DENIED) {
    return false;
  }
  Sleep(kDeleteRetryPauseMs);
  return DeleteFileW(path.c_str()) != FALSE;
}

}  // namespace

std::wstring PayloadDirectory() {
  wchar_t directory[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, directory);
  if (length == 0 || length > MAX_PATH) return {};
  std::wstring path(directory, length);
  if (path.back() != L'\\') path += L'\\';
  return path;
}

ResourceBytes LoadPayloadBytes(HMODULE module, WORD resourceId) {
  HRSRC info =
      FindResourceExW(module, kPayloadResourceType, MAKEINTRESOURCEW(resourceId), kPayloadLanguage);
  if (info == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, info);  // module memory: never freed by us
  if (loaded == nullptr) return {};
  const void* data = LockResource(loaded);
  if (data == nullptr) return {};
  return {static_cast<const BYTE*>(data), SizeofResource(module, info)};
}

win::KernelHandle CreateHeldFile(const std::wstring& path, ResourceBytes bytes) {
  if (path.empty() || bytes.data == nullptr || bytes.size == 0) return {};
  {
    // CREATE_NEW never opens what is already there, a link included; nobody shares the file
    // while it is written.
    win::KernelHandle writer(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!writer) return {};
    DWORD written = 0;
    const bool wrote =
        WriteFile(writer.get(), bytes.data, bytes.size, &written, nullptr) != FALSE &&
        written == bytes.size;
    if (!writer.close() || !wrote) {
      DeleteFileW(path.c_str());
      return {};
    }
  }
  // The file is held without write access, so that a reader that refuses to share writing (as
  // an editor may) can still open it; such a handle can only be had once the writer is closed.
  // Whatever happened in that moment, the file held must be the file itself, not a link put in
  // its place, and hold exactly the bytes written.
  win::KernelHandle held(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!held || !HoldsExactly(held.get(), bytes)) {
    held.reset();
    DeleteFileW(path.c_str());
    return {};
  }
  return held;
}

PayloadFile::PayloadFile(const wchar_t* fileName, ResourceBytes bytes) {
  const std::wstring directory = PayloadDirectory();
  if (directory.empty()) return;
  for (int attempt = 0; attempt < kNameAttempts && !held_; ++attempt) {
    const std::wstring name = PrivateFileName(fileName);
    if (name.empty()) return;
    held_ = CreateHeldFile(directory + name, bytes);
    if (held_) path_ = directory + name;
  }
}

PayloadFile::~PayloadFile() {
  if (!held_) return;
  held_.reset();
  // An editor that was ended may let go of the file a moment after its process has gone.
  DeleteReleasedFile(path_);
}

bool ReadInlineImagesValue(std::wstring* value) {
  DWORD type = REG_NONE;
  std::wstring text;
  if (QueryInlineImagesValue(&type, &text) != ERROR_SUCCESS || type != REG_SZ) return false;
  *value = std::move(text);
  return true;
}

InlineImagesSetting ClassifyInlineImagesValue(LSTATUS status, DWORD type, std::wstring text) {
  using enum InlineImagesState;
  switch (status) {
    case ERROR_SUCCESS:
      break;
    case ERROR_FILE_NOT_FOUND:  // no value, or not even the key: the browser's default
      return {.state = kShown};
    case ERROR_ACCESS_DENIED:
      return {.state = kNoAccess};
    default:
      return {.state = kUnreadable, .error = status};
  }
  if (type != REG_SZ) return {.state = kWrongType};
  if (_wcsicmp(text.c_str(), kShownValue) == 0) return {.state = kShown, .value = std::move(text)};
  if (_wcsicmp(text.c_str(), kHiddenValue) == 0) {
    return {.state = kHidden, .value = std::move(text)};
  }
  return {.state = kOther, .value = std::move(text)};
}

InlineImagesSetting ReadInlineImagesSetting() {
  DWORD type = REG_NONE;
  std::wstring text;
  const LSTATUS status = QueryInlineImagesValue(&type, &text);
  return ClassifyInlineImagesValue(status, type, std::move(text));
}

bool WriteInlineImagesValue(const wchar_t* value) {
  win::RegistryKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kInlineImagesKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE | kEditorView, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const DWORD bytes = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.get(), kInlineImagesValueName, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value), bytes) == ERROR_SUCCESS;
}

}  // namespace app
