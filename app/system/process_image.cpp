#include "app/system/process_image.h"

namespace app {

std::wstring ProcessImagePath(HANDLE process) {
  std::wstring image(MAX_PATH, L'\0');
  for (;;) {
    auto size = static_cast<DWORD>(image.size());
    if (QueryFullProcessImageNameW(process, 0, image.data(), &size)) {
      image.resize(size);
      return image;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || image.size() >= 32768) return {};
    image.resize(image.size() * 2);
  }
}

namespace {

// The path in its long form; the path itself where that cannot be had.
std::wstring LongPath(const std::wstring& path) {
  const DWORD length = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return path;
  std::wstring longPath(length, L'\0');
  const DWORD written = GetLongPathNameW(path.c_str(), longPath.data(), length);
  if (written == 0 || written >= length) return path;
  longPath.resize(written);
  return longPath;
}

}  // namespace

bool SameFilePath(const std::wstring& one, const std::wstring& other) {
  if (one.empty() || other.empty()) return false;
  const std::wstring a = LongPath(one), b = LongPath(other);
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace app
