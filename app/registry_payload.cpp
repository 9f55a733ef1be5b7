#include "app/registry_payload.h"

#include "app/kernel_handles.h"

namespace app {
namespace {

// Marks that would make CREATE_ALWAYS refuse a leftover file.
constexpr DWORD kBlockingAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

// Longest string value read back; the payload values are three letters or fewer.
constexpr DWORD kMaxValueChars = 64;

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
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  const bool wrote = WriteFile(file.get(), bytes.data, bytes.size, &written, nullptr) != FALSE &&
                     written == bytes.size;
  const bool closed = file.close();
  return wrote && closed;
}

bool ReadInlineImagesValue(std::wstring* value) {
  // The registry editor in the Windows directory is a 64-bit program on 64-bit Windows, so
  // read the 64-bit view; a 32-bit system ignores the flag.
  RegistryKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kInlineImagesKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
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

}  // namespace app
