#include "tests/support/payload_text.h"

#include <windows.h>

#include "win/unique_handle.h"

namespace payload_tests {

Bytes ExpectedPayload(const std::wstring& value) {
  const std::wstring lines[] = {
      L"Windows Registry Editor Version 5.00",
      L"",
      L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main]",
      L"\"Display Inline Images\"=\"" + value + L"\"",
  };
  Bytes bytes = {0xFF, 0xFE};
  for (const std::wstring& line : lines) {
    for (wchar_t unit : line + L"\r\n") {
      bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
      bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
  }
  return bytes;
}

Bytes ReadFileBytes(const std::wstring& path) {
  const win::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  Bytes bytes(GetFileSize(file.get(), nullptr));
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    bytes.clear();
  }
  return bytes;
}

bool WriteFileBytes(const std::wstring& path, const Bytes& bytes) {
  win::KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  return file.close() && ok;
}

std::wstring TempDirectory() {
  wchar_t directory[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, directory);
  std::wstring path(directory, length);
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path;
}

}  // namespace payload_tests
