// The memory of the skin's own surfaces in the main window at the run's DPI: the state surfaces
// of every window the skin drew (their bitmaps, as the windows' properties name them) and the
// sprites of the sheet at the window's factor. The main window is loaded in the benchmark's own
// process, as the platform's rows load it.

#include <windows.h>

#include <string>

#include "app/windows/main_window.h"
#include "bench/measurements.h"
#include "skin/core/skin_props.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_sheet.h"

namespace bench {
namespace {

constexpr double kBytesPerKibibyte = 1024;

double BitmapBytes(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return 0;
  return static_cast<double>(info.bmWidthBytes) * info.bmHeight;
}

struct StateSurfaces {
  int count = 0;
  double bytes = 0;
};

BOOL CALLBACK AddStateSurfaces(HWND window, LPARAM lParam) {
  auto* total = reinterpret_cast<StateSurfaces*>(lParam);
  for (const char* key : skin::props::kStateBitmap) {
    const auto bitmap = static_cast<HBITMAP>(GetPropA(window, key));
    if (bitmap == nullptr) continue;
    ++total->count;
    total->bytes += BitmapBytes(bitmap);
  }
  return TRUE;
}

double SheetBytes(int factor) {
  const skin::SpriteSheet& sheet = skin::SpriteSheetAt(factor);
  double bytes = 0;
  for (HDC sprite : {sheet.button, sheet.combo, sheet.glyph, sheet.option, sheet.header}) {
    if (sprite != nullptr) {
      bytes += BitmapBytes(static_cast<HBITMAP>(GetCurrentObject(sprite, OBJ_BITMAP)));
    }
  }
  return bytes;
}

std::string Kibibytes(double bytes) {
  return std::to_string(static_cast<long long>(bytes / kBytesPerKibibyte + 0.5)) + " KiB";
}

}  // namespace

void MeasureSkinSurfaces(Report& report) {
  HWND form = app::form1::Show();
  if (form == nullptr) {
    report.AddFigure("   of the skin in the main window: its surfaces", "failed");
    return;
  }
  StateSurfaces states;
  AddStateSurfaces(form, reinterpret_cast<LPARAM>(&states));
  EnumChildWindows(form, AddStateSurfaces, reinterpret_cast<LPARAM>(&states));
  const double sheet = SheetBytes(skin::SpriteFactorForDpi(BenchDpi()));
  app::form1::Unload();
  report.AddFigure("   of the skin in the main window: state surfaces; the sprite sheet",
                   std::to_string(states.count) + " surfaces, " + Kibibytes(states.bytes) + "; " +
                       Kibibytes(sheet));
}

}  // namespace bench
