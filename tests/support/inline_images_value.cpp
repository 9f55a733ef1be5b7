#include "tests/support/inline_images_value.h"

namespace payload_tests {
namespace {

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Internet Explorer\\Main";
constexpr wchar_t kValueName[] = L"Display Inline Images";
constexpr wchar_t kPolicyKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr wchar_t kPolicyName[] = L"DisableRegistryTools";
constexpr wchar_t kImagesPolicyKey[] = L"Software\\Policies\\Microsoft\\Internet Explorer\\Main";
constexpr wchar_t kMappingKey[] =
    L"SOFTWARE\\Microsoft\\Internet Explorer\\AdvancedOptions\\MULTIMEDIA\\PICTS";

std::optional<StoredValue> ReadValue(HKEY root, const wchar_t* keyPath, const wchar_t* name,
                                     REGSAM view) {
  win::RegistryKey key;
  if (RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  StoredValue value;
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  if (RegQueryValueExW(key.get(), name, nullptr, &value.type, value.bytes.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  return value;
}

// Stores the value, creating the key when it is missing, or deletes it with nothing.
bool WriteValue(HKEY root, const wchar_t* keyPath, const wchar_t* name,
                const std::optional<StoredValue>& value, REGSAM view = 0) {
  win::RegistryKey key;
  if (!value) {
    const LSTATUS opened = RegOpenKeyExW(root, keyPath, 0, KEY_SET_VALUE | view, key.put());
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    const LSTATUS status = RegDeleteValueW(key.get(), name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }
  if (RegCreateKeyExW(root, keyPath, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, key.put(),
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return RegSetValueExW(key.get(), name, 0, value->type, value->bytes.data(),
                        static_cast<DWORD>(value->bytes.size())) == ERROR_SUCCESS;
}

StoredValue StringValue(const std::wstring& text) {
  const auto* data = reinterpret_cast<const BYTE*>(text.c_str());
  return {REG_SZ, std::vector<BYTE>(data, data + (text.size() + 1) * sizeof(wchar_t))};
}

StoredValue DwordValue(DWORD number) {
  const auto* data = reinterpret_cast<const BYTE*>(&number);
  return {REG_DWORD, std::vector<BYTE>(data, data + sizeof number)};
}

std::optional<StoredValue> OptionalString(const std::optional<std::wstring>& text) {
  return text ? std::optional<StoredValue>(StringValue(*text)) : std::nullopt;
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
  return WriteValue(HKEY_CURRENT_USER, kKey, kValueName, OptionalString(value));
}

SavedRegistryValue::SavedRegistryValue(HKEY root, const wchar_t* key, const wchar_t* name,
                                       REGSAM view)
    : root_(root), key_(key), name_(name), view_(view), saved_(ReadValue(root, key, name, view)) {}

SavedRegistryValue::~SavedRegistryValue() { WriteValue(root_, key_, name_, saved_, view_); }

InlineImagesPolicyValue::InlineImagesPolicyValue(const std::optional<std::wstring>& value)
    : SavedRegistryValue(HKEY_CURRENT_USER, kImagesPolicyKey, kValueName, KEY_WOW64_64KEY) {
  WriteValue(HKEY_CURRENT_USER, kImagesPolicyKey, kValueName, OptionalString(value),
             KEY_WOW64_64KEY);
}

PictureBoxMappingValue::PictureBoxMappingValue(const wchar_t* name,
                                               const std::optional<std::wstring>& value)
    : SavedRegistryValue(HKEY_LOCAL_MACHINE, kMappingKey, name, KEY_WOW64_64KEY) {
  WriteValue(HKEY_LOCAL_MACHINE, kMappingKey, name, OptionalString(value), KEY_WOW64_64KEY);
}

InlineImagesValueKeeper::InlineImagesValueKeeper()
    : SavedRegistryValue(HKEY_CURRENT_USER, kKey, kValueName) {}

RegistryToolsPolicy::RegistryToolsPolicy(std::optional<unsigned long> value, HKEY root)
    : SavedRegistryValue(root, kPolicyKey, kPolicyName) {
  WriteValue(root, kPolicyKey, kPolicyName,
             value ? std::optional<StoredValue>(DwordValue(*value)) : std::nullopt);
}

LockedInlineImagesKey::LockedInlineImagesKey() {
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr,
                      key_.put(), nullptr) != ERROR_SUCCESS) {
    return;
  }
  DWORD size = 0;
  RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
  savedAccess_.resize(size);
  if (size == 0 || RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, savedAccess_.data(),
                                     &size) != ERROR_SUCCESS) {
    return;
  }
  SECURITY_DESCRIPTOR denyAll;
  ACL emptyList;
  InitializeSecurityDescriptor(&denyAll, SECURITY_DESCRIPTOR_REVISION);
  InitializeAcl(&emptyList, sizeof emptyList, ACL_REVISION);
  SetSecurityDescriptorDacl(&denyAll, TRUE, &emptyList, FALSE);
  locked_ = RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, &denyAll) == ERROR_SUCCESS;
}

LockedInlineImagesKey::~LockedInlineImagesKey() {
  if (locked_) RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, savedAccess_.data());
}

}  // namespace payload_tests
