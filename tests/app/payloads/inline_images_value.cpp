#include "tests/app/payloads/inline_images_value.h"

#include <windows.h>

namespace payload_tests {
namespace {

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Internet Explorer\\Main";
constexpr wchar_t kValueName[] = L"Display Inline Images";
constexpr wchar_t kPolicyKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr wchar_t kPolicyName[] = L"DisableRegistryTools";

std::optional<unsigned long> PolicyValue() {
  DWORD value = 0;
  DWORD size = sizeof value;
  return RegGetValueW(HKEY_CURRENT_USER, kPolicyKey, kPolicyName, RRF_RT_REG_DWORD, nullptr, &value,
                      &size) == ERROR_SUCCESS
             ? std::optional<unsigned long>(value)
             : std::nullopt;
}

void SetPolicyValue(std::optional<unsigned long> value) {
  const DWORD data = value.value_or(0);
  if (value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kPolicyKey, kPolicyName, REG_DWORD, &data, sizeof data);
  } else {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kPolicyKey, kPolicyName);
  }
}

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

RegistryToolsPolicy::RegistryToolsPolicy(std::optional<unsigned long> value)
    : saved_(PolicyValue()) {
  SetPolicyValue(value);
}

RegistryToolsPolicy::~RegistryToolsPolicy() { SetPolicyValue(saved_); }

LockedInlineImagesKey::LockedInlineImagesKey() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  DWORD size = 0;
  RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
  savedAccess_.resize(size);
  if (size != 0 && RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, savedAccess_.data(), &size) ==
                       ERROR_SUCCESS) {
    SECURITY_DESCRIPTOR denyAll;
    ACL emptyList;
    InitializeSecurityDescriptor(&denyAll, SECURITY_DESCRIPTOR_REVISION);
    InitializeAcl(&emptyList, sizeof emptyList, ACL_REVISION);
    SetSecurityDescriptorDacl(&denyAll, TRUE, &emptyList, FALSE);
    locked_ = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &denyAll) == ERROR_SUCCESS;
  }
  RegCloseKey(key);
}

LockedInlineImagesKey::~LockedInlineImagesKey() {
  if (!locked_) return;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, WRITE_DAC, &key) != ERROR_SUCCESS) return;
  RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, savedAccess_.data());
  RegCloseKey(key);
}

}  // namespace payload_tests
