// The one owner of platform handles, against real handles: every handle is let go exactly once,
// whatever moves, resets and releases come between, and a selection guard puts the previous
// object back before the owner of what it selected deletes it.

#include "win/unique_handle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "tests/support/gdi_accounting.h"

namespace {

using testing_support::CountGdiObjects;
using testing_support::GdiCounts;

// Owners of handles that need nothing else to be let go are as small as the handle.
static_assert(sizeof(win::Bitmap) == sizeof(HBITMAP));
static_assert(sizeof(win::KernelHandle) == sizeof(HANDLE));

HBRUSH NewBrush() { return CreateSolidBrush(RGB(1, 2, 3)); }

TEST(UniqueHandle, LetsEachObjectGoOnceThroughMoveResetAndRelease) {
  ASSERT_TRUE(testing_support::GdiAccountingAvailable());
  const GdiCounts before = CountGdiObjects();
  const auto brushesNow = [&] { return CountGdiObjects().brushes - before.brushes; };
  {
    win::Brush first(NewBrush());
    const HBRUSH firstHandle = first.get();
    win::Brush moved(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(moved.get(), firstHandle);
    EXPECT_EQ(brushesNow(), 1);

    moved.reset(NewBrush());  // deletes the first
    EXPECT_EQ(brushesNow(), 1);
    win::Brush other(NewBrush());
    other = std::move(moved);  // deletes other's own
    EXPECT_EQ(brushesNow(), 1);

    win::Brush adopted(other.release());
    EXPECT_FALSE(other);
    other.reset();  // holds nothing: deletes nothing
    EXPECT_EQ(brushesNow(), 1);
  }
  EXPECT_EQ(CountGdiObjects(), before);
}

TEST(UniqueHandle, GuardsRestoreTheDcBeforeItsObjectsAreDeleted) {
  const GdiCounts before = CountGdiObjects();
  {
    const win::MemoryDc dc(nullptr);
    ASSERT_TRUE(dc);
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
    const win::Bitmap bitmap(CreateBitmap(4, 4, 1, 1, nullptr));
    {
      win::SelectGuard select(dc.get(), bitmap.get());
      const win::SelectGuard moved(std::move(select));  // the duty to restore moves with it
      EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
      const win::DcStateGuard state(dc.get());
      SetTextColor(dc.get(), RGB(9, 9, 9));
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);
    EXPECT_EQ(GetTextColor(dc.get()), RGB(0, 0, 0));

    // Declared after the owners, the guard ends first: a bitmap deleted while still selected
    // would stay alive, and the count below would show it.
    const win::SelectGuard again(dc.get(), bitmap.get());
    EXPECT_FALSE(win::SelectGuard(nullptr, bitmap.get())) << "nothing is selected into no DC";
  }
  EXPECT_EQ(CountGdiObjects(), before);
}

TEST(UniqueHandle, WindowDcIsGivenBackWithItsWindow) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                                      nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  // The system caches the DC behind the first of each kind.
  for (const auto area : {win::WindowDc::Area::Client, win::WindowDc::Area::Whole}) {
    const win::WindowDc first(window, area);
  }
  // A DC that is not given back stays in use, and the next one is a new DC.
  EXPECT_GDI_OBJECTS_UNCHANGED({
    for (int round = 0; round < 4; ++round) {
      win::WindowDc dc(window,
                       round % 2 == 0 ? win::WindowDc::Area::Client : win::WindowDc::Area::Whole);
      ASSERT_TRUE(dc);
      const win::WindowDc moved(std::move(dc));
      EXPECT_EQ(moved.context(), window);
    }
  });
  DestroyWindow(window);
}

TEST(UniqueHandle, KernelHandlesAndRegistryKeysCloseOnce) {
  const win::KernelHandle invalid(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(invalid) << "INVALID_HANDLE_VALUE is no handle";

  win::KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const HANDLE rawEvent = event.get();
  ASSERT_TRUE(event);
  EXPECT_TRUE(event.close());
  EXPECT_FALSE(event);
  EXPECT_TRUE(event.close()) << "closing nothing succeeds";
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(rawEvent, &flags)) << "the event is still open";

  win::RegistryKey key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
  const HKEY rawKey = key.get();
  HKEY* slot = key.put();  // closes the key it held
  EXPECT_EQ(*slot, nullptr) << "the slot given out still holds the closed key";
  EXPECT_FALSE(key);
  EXPECT_EQ(RegQueryInfoKeyW(rawKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_INVALID_HANDLE);
  // The slot is the owner's own: what a call writes there, the owner holds and closes.
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, slot), ERROR_SUCCESS);
  EXPECT_EQ(key.get(), *slot);
}

}  // namespace
