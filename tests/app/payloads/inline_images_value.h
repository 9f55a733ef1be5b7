#pragma once

// Direct access to "Display Inline Images" for the tests: they set up the state before a click
// and check the outcome after it with the registry functions, and put the original back.

#include <optional>
#include <string>
#include <vector>

namespace payload_tests {

// The value as a string, or nothing when it is missing.
std::optional<std::wstring> InlineImagesValue();

// Sets the value (a string) or, with nothing, deletes it. False when that fails.
bool SetInlineImagesValue(const std::optional<std::wstring>& value);

// Remembers the value when made and puts it back when destroyed.
class InlineImagesValueKeeper {
 public:
  InlineImagesValueKeeper() : saved_(InlineImagesValue()) {}
  InlineImagesValueKeeper(const InlineImagesValueKeeper&) = delete;
  InlineImagesValueKeeper& operator=(const InlineImagesValueKeeper&) = delete;
  ~InlineImagesValueKeeper() { SetInlineImagesValue(saved_); }

 private:
  std::optional<std::wstring> saved_;
};

// Sets the per-user policy value DisableRegistryTools (REG_DWORD) for its lifetime, or removes
// it with nothing; puts back what was there before.
class RegistryToolsPolicy {
 public:
  explicit RegistryToolsPolicy(std::optional<unsigned long> value);
  RegistryToolsPolicy(const RegistryToolsPolicy&) = delete;
  RegistryToolsPolicy& operator=(const RegistryToolsPolicy&) = delete;
  ~RegistryToolsPolicy();

 private:
  std::optional<unsigned long> saved_;
};

// Denies everyone every access to the key of "Display Inline Images" for its lifetime (an empty
// access list, which the key's owner can still replace), so neither the registry editor nor the
// registry functions can change the value; puts the key's access list back when it ends.
class LockedInlineImagesKey {
 public:
  LockedInlineImagesKey();
  LockedInlineImagesKey(const LockedInlineImagesKey&) = delete;
  LockedInlineImagesKey& operator=(const LockedInlineImagesKey&) = delete;
  ~LockedInlineImagesKey();
  bool locked() const { return locked_; }

 private:
  std::vector<unsigned char> savedAccess_;
  bool locked_ = false;
};

}  // namespace payload_tests
