// The program's icon at every scale Windows offers: the windows load the very image drawn for each
// size, never a smaller one enlarged.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/windows/form_setup.h"
#include "app/windows/resource_ids.h"
#include "tests/app/windows/program_icon.h"
#include "tests/support/pictures.h"
#include "win/dpi.h"
#include "win/unique_handle.h"

namespace {

using icon_tests::IconWidth;
using testing_support::ReadPixels;

// none when the group holds no such image.
win::Icon GroupImageOfSide(int side) {
  // The group: a 6-byte header whose last field is the count, then a 14-byte entry per image
  // with its width and height first (0 for 256) and its resource id last.
  constexpr size_t kHeaderBytes = 6, kCountOffset = 4, kEntryBytes = 14, kIdOffset = 12;
  constexpr int kSideZeroMeans = 256;
  constexpr DWORD kIconFormatVersion = 0x00030000;
  const HINSTANCE module = GetModuleHandleW(nullptr);
  HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(IDI_MORVANE), RT_GROUP_ICON);
  const auto* bytes =
      group ? static_cast<const BYTE*>(LockResource(LoadResource(module, group))) : nullptr;
  if (bytes == nullptr) return {};
  WORD count = 0, id = 0;
  std::memcpy(&count, bytes + kCountOffset, sizeof count);
  for (size_t entry = 0; entry < count; ++entry) {
    const BYTE* at = bytes + kHeaderBytes + entry * kEntryBytes;
    const int width = at[0] == 0 ? kSideZeroMeans : at[0];
    const int height = at[1] == 0 ? kSideZeroMeans : at[1];
    if (width != side || height != side) continue;
    std::memcpy(&id, at + kIdOffset, sizeof id);
    HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(id), RT_ICON);
    if (image == nullptr) return {};
    return win::Icon(CreateIconFromResourceEx(
        static_cast<BYTE*>(LockResource(LoadResource(module, image))),
        SizeofResource(module, image), TRUE, kIconFormatVersion, side, side, LR_DEFAULTCOLOR));
  }
  return {};
}

// The icon drawn at its own size over a grey ground, so that its alpha counts.
std::vector<COLORREF> DrawnIcon(HICON icon, int side) {
  const win::WindowDc screen(nullptr, win::WindowDc::Area::Client);
  const win::MemoryDc dc(screen.get());
  const win::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), side, side));
  const win::SelectGuard select(dc.get(), bitmap.get());
  const RECT all = {0, 0, side, side};
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  DrawIconEx(dc.get(), 0, 0, icon, side, side, 0, nullptr, DI_NORMAL);
  return ReadPixels(dc.get(), 0, 0, side, side);
}

// At every scale Windows offers up to 400 %, the small and the big icon the windows load are the
// very images drawn for their size, not a smaller one enlarged.
TEST(DisplayScale, ProgramIconIsTheImageDrawnForItsSizeAtEveryScaleTo400Percent) {
  constexpr int kPercents[] = {100, 125, 150, 175, 200, 225, 250, 300, 350, 400};
  constexpr struct {
    int metric, side;
    const char* name;
  } kIcons[] = {{SM_CXSMICON, 16, "small"}, {SM_CXICON, 32, "big"}};
  for (const int percent : kPercents) {
    for (const auto& which : kIcons) {
      const int side = which.side * percent / 100;
      SCOPED_TRACE(testing::Message()
                   << percent << " %, " << which.name << " icon, " << side << " px");
      const win::Icon loaded = app::LoadProgramIcon(which.metric, win::kDefaultDpi * percent / 100);
      const win::Icon exact = GroupImageOfSide(side);
      ASSERT_TRUE(loaded);
      ASSERT_TRUE(exact) << "the icon has no image of this size";
      EXPECT_EQ(IconWidth(loaded.get()), side);
      EXPECT_TRUE(DrawnIcon(loaded.get(), side) == DrawnIcon(exact.get(), side))
          << "the loaded icon is not the image drawn for this size";
    }
  }
}

}  // namespace
