#include "tests/app/payloads/inline_images_value.h"

#include <windows.h>

namespace payload_tests {
namespace {

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Internet Explorer\\Main";
constexpr wchar_t kValueName[] = L"Display Inline Images";

}  // namespace

std::optional<std::wstring> InlineImagesValue() {
  wchar_t buffer[256] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_CURRENT_USER, kKey, kValueName, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(buffer);
}

bool SetInlineImagesValue(const std::optional<std::wstring>& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LSTATUS status;
  if (value) {
    status =
        RegSetValueExW(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
  } else {
    status = RegDeleteValueW(key, kValueName);
    if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
  }
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

}  // namespace payload_tests
