#include "tests/support/display_scale.h"

#include <gtest/gtest.h>

#include <optional>

#include "tests/support/inline_images_value.h"

namespace testing_support {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

}  // namespace

RECT SendDpiChange(HWND window, int dpi) {
  constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE
  SIZE size{};
  SendMessageW(window, kGetDpiScaledSize, dpi, reinterpret_cast<LPARAM>(&size));
  RECT suggested{};
  GetWindowRect(window, &suggested);
  suggested.right = suggested.left + size.cx;
  suggested.bottom = suggested.top + size.cy;
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  PumpMessages();
  return suggested;
}

void RunProgramAtDpi(int dpi,
                     const std::function<void(RunningProgram& program, HWND form)>& check) {
  SCOPED_TRACE(testing::Message() << "program started at " << dpi << " DPI");
  std::optional<RunningProgram> program;
  HWND form = nullptr;
  {
    // Put back (or removed) when the program has started.
    const payload_tests::SavedRegistryValue saved(HKEY_CURRENT_USER, kDesktopKey, kLogPixels);
    const DWORD value = static_cast<DWORD>(dpi);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, &value,
                              sizeof value),
              ERROR_SUCCESS)
        << "LogPixels cannot be set";
    program.emplace();
    ASSERT_TRUE(program->started());
    // Once the main window shows, the program has read the system DPI.
    form = program->WaitForWindow(L"Morvane");
    ASSERT_NE(form, nullptr) << "the main window did not appear";
  }
  check(*program, form);
}

}  // namespace testing_support
