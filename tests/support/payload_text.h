#pragma once

#include <string>
#include <vector>

namespace payload_tests {

using Bytes = std::vector<unsigned char>;

// The import text that sets "Display Inline Images" to value, built from its four lines
// independently of the resource files: each line ended by CR LF, UTF-16LE after the byte
// order mark FF FE.
Bytes ExpectedPayload(const std::wstring& value);

// The whole content of a file; empty when it cannot be read.
Bytes ReadFileBytes(const std::wstring& path);

// Creates or replaces a file holding exactly bytes; false when that fails.
bool WriteFileBytes(const std::wstring& path, const Bytes& bytes);

// The user's temporary directory with a trailing backslash.
std::wstring TempDirectory();

}  // namespace payload_tests
