#include "app/registry_payload.h"

#include "win/unique_handle.h"

namespace app {
namespace {

// Marks that would make CREATE_ALWAYS refuse a leftover file.
constexpr DWORD kBlockingAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

// Longest string value read back; the payload values are three letters or fewer.
constexpr DWORD kMaxValueChars = 64;

// The registry editor in the Windows directory is a 64-bit program on 64-bit Windows, so the
// value is read and written in the 64-bit view; a 32-bit system ignores the flag.
constexpr REGSAM kEditorView = KEY_WOW64_64KEY;

constexpr wchar_t kShownValue[] = L"yes";

bool ClearBlockingAttributes(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;  // nothing there yet
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  if ((attributes & kBlockingAttributes) == 0) return true;
  DWORD cleared = attributes & ~kBlockingAttributes;
  if (cleared == 0) cleared = FILE_ATTRIBUTE_NORMAL;
  return SetFileAttributesW(path.c_str(), cleared) != FALSE;
}

}  // namespace

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

std::wstring PayloadFilePath(const wchar_t* fileName) {
  wchar_t directory[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, directory);
  if (length == 0 || length > MAX_PATH) return {};
  std::wstring path(directory, length);
  if (path.back() != L'\\') path += L'\\';
  return path + fileName;
}

bool WritePayloadFile(const std::wstring& path, ResourceBytes bytes) {
  if (path.empty() || bytes.data == nullptr || bytes.size == 0) return false;
  if (!ClearBlockingAttributes(path)) return false;
  win::KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  const bool wrote = WriteFile(file.get(), bytes.data, bytes.size, &written, nullptr) != FALSE &&
                     written == bytes.size;
  const bool closed = file.close();
  return wrote && closed;
}

bool ReadInlineImagesValue(std::wstring* value) {
  win::RegistryKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kInlineImagesKey, 0, KEY_QUERY_VALUE | kEditorView,
                    key.put()) != ERROR_SUCCESS) {
    return false;
  }
  wchar_t buffer[kMaxValueChars + 1] = {};
  DWORD type = 0;
  DWORD size = kMaxValueChars * sizeof(wchar_t);
  if (RegQueryValueExW(key.get(), kInlineImagesValueName, nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  // The stored string need not end with a terminator; the buffer has room for one.
  std::wstring text(buffer, size / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  *value = text;
  return true;
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

bool InlineImagesShown() {
  std::wstring value;
  if (ReadInlineImagesValue(&value)) return _wcsicmp(value.c_str(), kShownValue) == 0;
  // No readable string: shown only when there is no value at all (or not even the key).
  win::RegistryKey key;
  const LSTATUS opened = RegOpenKeyExW(HKEY_CURRENT_USER, kInlineImagesKey, 0,
                                       KEY_QUERY_VALUE | kEditorView, key.put());
  if (opened == ERROR_FILE_NOT_FOUND) return true;
  return opened == ERROR_SUCCESS &&
         RegQueryValueExW(key.get(), kInlineImagesValueName, nullptr, nullptr, nullptr, nullptr) ==
             ERROR_FILE_NOT_FOUND;
}

}  // namespace app
