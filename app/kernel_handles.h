#pragma once

// Move-only owners for the kernel and registry handles the commands open: files, started
// processes and registry keys. Each closes its handle exactly once.

#include <windows.h>

#include <utility>

namespace app {

// Owns a kernel handle (file, process) and closes it. Both the null handle and
// INVALID_HANDLE_VALUE, the two ways the platform says "no handle", count as empty.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(IsValid(handle) ? handle : nullptr) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  HANDLE release() { return std::exchange(handle_, nullptr); }

  void reset(HANDLE handle = nullptr) {
    if (handle_ != nullptr) CloseHandle(handle_);
    handle_ = IsValid(handle) ? handle : nullptr;
  }

  // Closes the handle now and tells whether the close succeeded; for files that were written,
  // where a failed close can mean lost data.
  bool close() {
    if (handle_ == nullptr) return true;
    return CloseHandle(std::exchange(handle_, nullptr)) != FALSE;
  }

 private:
  static bool IsValid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

  HANDLE handle_ = nullptr;
};

// Owns an open registry key and closes it.
class RegistryKey {
 public:
  RegistryKey() = default;
  explicit RegistryKey(HKEY key) : key_(key) {}
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    reset(std::exchange(other.key_, nullptr));
    return *this;
  }
  ~RegistryKey() { reset(); }

  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

  // For RegOpenKeyExW and friends: closes any key held and hands out the slot to fill.
  HKEY* put() {
    reset();
    return &key_;
  }

  void reset(HKEY key = nullptr) {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = key;
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace app
