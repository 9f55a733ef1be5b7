#include "app/system/user_environment.h"

#include <windows.h>

#include "app/system/session_users.h"
#include "win/dll_search.h"
#include "win/module_function.h"
#include "win/unique_handle.h"

namespace app {
namespace {

using CreateEnvironmentBlockFunction = BOOL(WINAPI*)(void** environment, HANDLE token,
                                                     BOOL inherit);
using DestroyEnvironmentBlockFunction = BOOL(WINAPI*)(void* environment);

// userenv.dll, loaded once and kept for the life of the process.
HMODULE Userenv() {
  static const win::Module userenv(win::LoadSystemLibrary(L"userenv.dll"));
  return userenv.get();
}

// The length of a block up to, not including, the null that ends it.
size_t BlockLength(const wchar_t* block) {
  size_t length = 0;
  while (block[length] != L'\0') length += wcslen(block + length) + 1;
  return length;
}

}  // namespace

std::wstring UserEnvironmentBlock() {
  const HMODULE userenv = Userenv();
  const auto create =
      win::ModuleFunction<CreateEnvironmentBlockFunction>(userenv, "CreateEnvironmentBlock");
  const auto destroy =
      win::ModuleFunction<DestroyEnvironmentBlockFunction>(userenv, "DestroyEnvironmentBlock");
  const win::KernelHandle token =
      OpenProcessTokenOf(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE);
  void* environment = nullptr;
  // Not inherited from this process: only what the account's sign-in would set.
  if (create == nullptr || destroy == nullptr || !token ||
      !create(&environment, token.get(), FALSE)) {
    return {};
  }
  const auto* block = static_cast<const wchar_t*>(environment);
  std::wstring copy(block, BlockLength(block));
  destroy(environment);
  return copy;
}

}  // namespace app
