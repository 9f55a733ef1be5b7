#pragma once

// Direct access to "Display Inline Images" and to the policy that disables the registry editor
// for the tests: they set up the state before a click and check the outcome after it with the
// registry functions, and put the original back.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win/unique_handle.h"

namespace payload_tests {

// The value as a string, or nothing when it is missing.
std::optional<std::wstring> InlineImagesValue();

// Sets the value (a string) or, with nothing, deletes it. False when that fails.
bool SetInlineImagesValue(const std::optional<std::wstring>& value);

// A value of HKEY_CURRENT_USER as it is stored: its type and its bytes.
struct StoredValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

// Remembers a value under root (or that there is none) when made, and puts it back (or deletes
// it) when destroyed; in the registry view that view names (KEY_WOW64_64KEY, say), or this
// process's own with 0.
class SavedRegistryValue {
 public:
  SavedRegistryValue(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view = 0);
  SavedRegistryValue(const SavedRegistryValue&) = delete;
  SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;
  ~SavedRegistryValue();

 private:
  HKEY root_;
  const wchar_t* key_;
  const wchar_t* name_;
  REGSAM view_;
  std::optional<StoredValue> saved_;
};

// Sets the user's Group Policy value for inline images ("Display Inline Images" under
// Software\Policies\Microsoft\Internet Explorer\Main, a string) for its lifetime, or removes it
// with nothing; puts back what was there before.
class InlineImagesPolicyValue : public SavedRegistryValue {
 public:
  explicit InlineImagesPolicyValue(const std::optional<std::wstring>& value);
};

// Sets one string of the mapping of Internet Options' "显示图片" box (name is "CheckedValue" or
// "UncheckedValue", in the machine's 64-bit view) for its lifetime, or removes it with nothing;
// puts back what was there before.
class PictureBoxMappingValue : public SavedRegistryValue {
 public:
  PictureBoxMappingValue(const wchar_t* name, const std::optional<std::wstring>& value);
};

// Remembers "Display Inline Images" when made and puts it back when destroyed.
class InlineImagesValueKeeper : public SavedRegistryValue {
 public:
  InlineImagesValueKeeper();
};

// Sets the policy value DisableRegistryTools (REG_DWORD) of the user, or with HKEY_LOCAL_MACHINE
// of the machine, for its lifetime, or removes it with nothing; puts back what was there before.
class RegistryToolsPolicy : public SavedRegistryValue {
 public:
  explicit RegistryToolsPolicy(std::optional<unsigned long> value, HKEY root = HKEY_CURRENT_USER);
};

// Denies everyone every access to the key of "Display Inline Images" for its lifetime (an empty
// access list, which the key's owner can still replace), so neither the registry editor nor the
// registry functions can change the value; puts the key's access list back when it ends. It
// keeps the key open for that.
class LockedInlineImagesKey {
 public:
  LockedInlineImagesKey();
  ~LockedInlineImagesKey();
  bool locked() const { return locked_; }

 private:
  win::RegistryKey key_;
  std::vector<unsigned char> savedAccess_;
  bool locked_ = false;
};

}  // namespace payload_tests
