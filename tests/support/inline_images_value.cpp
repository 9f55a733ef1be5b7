#include "tests/support/inline_images_value.h"

namespace payload_tests {
namespace {

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Internet Explorer\\Main";
constexpr wchar_t kValueName[] = L"Display Inline Images";
constexpr wchar_t kPolicyKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr wchar_t kPolicyName[] = L"DisableRegistryTools";

std::optional<StoredValue> ReadValue(HKEY root, const wchar_t* key, const wchar_t* name) {
  StoredValue value;
  DWORD size = 0;
  if (RegGetValueW(root, key, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  if (RegGetValueW(root, key, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, value.bytes.data(),
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  return value;
}

// Stores the value, creating the key when it is missing, or deletes it with nothing.
bool WriteValue(HKEY root, const wchar_t* key, const wchar_t* name,
                const std::optional<StoredValue>& value) {
  if (!value) {
    const LSTATUS status = RegDeleteKeyValueW(root, key, name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }
  return RegSetKeyValueW(root, key, name, value->type, value->bytes.data(),
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
  return WriteValue(HKEY_CURRENT_USER, kKey, kValueName,
                    value ? std::optional<StoredValue>(StringValue(*value)) : std::nullopt);
}

SavedRegistryValue::SavedRegistryValue(HKEY root, const wchar_t* key, const wchar_t* name)
    : root_(root), key_(key), name_(name), saved_(ReadValue(root, key, name)) {}

SavedRegistryValue::~SavedRegistryValue() { WriteValue(root_, key_, name_, saved_); }

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
