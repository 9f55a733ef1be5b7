#pragma once

// Direct access to "Display Inline Images" for the tests: they set up the state before a click
// and check the outcome after it with the registry functions, and put the original back.

#include <optional>
#include <string>

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

}  // namespace payload_tests
