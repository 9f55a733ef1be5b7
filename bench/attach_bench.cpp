// Figures of putting the skin on: the attach of one button, the install on the main window, the
// attach per control as forms grow, and what a skinned button holds. Each is set against its
// platform counterpart measured in the same run.

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/windows/main_window.h"
#include "bench/button_form.h"
#include "bench/measurements.h"
#include "bench/timing.h"
#include "skin/core/skin_props.h"
#include "skin/engine/skin_engine.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/surface.h"
#include "skin/painters/button_painter.h"
#include "tests/support/gdi_counts.h"

namespace bench {
namespace {

constexpr POINT kAttachFormOrigin = {40, 240};
constexpr POINT kHiddenFormOrigin = {0, 0};

constexpr double kAttachOneRatioGoal = 1.0;
constexpr double kInstallRatioGoal = 0.5;
// Per-control attach time counts as flat when the largest form's figure is within this factor
// of the smallest form's.
constexpr double kFlatnessGoal = 1.5;

constexpr int kInstallSamples = 15;
constexpr int kAttachSamples = 41;
constexpr int kCaptionLength = 64;
struct ScaleCase {
  int buttons;
  int samplesPerRound;
};
constexpr ScaleCase kScaleCases[] = {{10, 10}, {100, 3}, {1000, 1}};
constexpr int kScaleRounds = 5;
// Buttons of the scaling forms: small enough that 1,000 of them fit on the screen.
constexpr ButtonGrid ScaleGrid(int count) { return {count, 60, 20, 20}; }

// The window properties an attach writes on a push button; the others it sets to 0, which a
// window without them reads already.
constexpr const char* kAttachWrittenKeys[] = {
    skin::props::kStateSurface[0], skin::props::kStateBitmap[0],  skin::props::kStateSurface[1],
    skin::props::kStateBitmap[1],  skin::props::kStateSurface[2], skin::props::kStateBitmap[2],
    skin::props::kStateSurface[3], skin::props::kStateBitmap[3],  skin::props::kOldStyle,
    skin::props::kProcAddr,
};

constexpr int kMemoryButtons = 100;
constexpr int kSurfacesPerButton = 4;

// Under Wine the private-bytes figure does not follow the process's own allocations; the
// working set (resident pages) does, and every page of a freshly drawn surface is resident.
SIZE_T WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.WorkingSetSize;
}

SIZE_T PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

std::string PerButton(int total, int buttons) {
  return Fixed(static_cast<double>(total) / buttons, 2);
}

}  // namespace

// 4. Attaching the skin to one push button of a shown form, its first paint included, against
// creating the same button natively and its first paint. The samples alternate; the buttons are
// destroyed (and the skinned one detached) outside the clock. Another skinned window keeps the
// sprite sheet alive, so only the per-window work is timed.
void MeasureAttachOne(Report& report) {
  // The samples take the place of the host's second button, which is hidden.
  ButtonForm host({2, ButtonWidth(), ButtonHeight(), 1}, kAttachFormOrigin, true);
  ShowWindow(host.button(1), SW_HIDE);
  RECT place{};
  GetWindowRect(host.button(1), &place);
  MapWindowPoints(nullptr, host.form(), reinterpret_cast<POINT*>(&place), 2);
  wchar_t caption[kCaptionLength];
  GetWindowTextW(host.button(1), caption, kCaptionLength);
  const WPARAM font = static_cast<WPARAM>(SendMessageW(host.button(1), WM_GETFONT, 0, 0));
  const auto createButton = [&] {
    HWND button =
        CreateWindowExW(0, L"Button", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                        place.left, place.top, ButtonWidth(), ButtonHeight(), host.form(), nullptr,
                        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(button, WM_SETFONT, font, FALSE);
    return button;
  };
  std::vector<double> attach, attachCall, create;
  for (int sample = 0; sample < kAttachSamples; ++sample) {
    double start = NowMicroseconds();
    HWND native = createButton();
    UpdateWindow(native);
    create.push_back(NowMicroseconds() - start);
    DestroyWindow(native);

    HWND button = createButton();
    UpdateWindow(button);
    start = NowMicroseconds();
    skin::SkinAttachWindow(button);
    attachCall.push_back(NowMicroseconds() - start);
    UpdateWindow(button);
    attach.push_back(NowMicroseconds() - start);
    DestroyWindow(button);
  }
  const double attachUs = Median(attach);
  const double callUs = Median(attachCall);
  const double createUs = Median(create);
  // Parts of the attach call, each on a fresh shown button as at the attach: the ten window
  // properties it writes (the four state surfaces and their bitmaps, "OLDSTYLE", "PROCADDR"); the
  // corner region as the attach sets it; the four state surfaces; drawing the four images.
  std::vector<double> writes, regions;
  for (int sample = 0; sample < kAttachSamples; ++sample) {
    HWND plain = createButton();
    UpdateWindow(plain);
    double start = NowMicroseconds();
    for (const char* key : kAttachWrittenKeys) SetPropA(plain, key, plain);
    writes.push_back(NowMicroseconds() - start);
    for (const char* key : kAttachWrittenKeys) RemovePropA(plain, key);
    start = NowMicroseconds();
    skin::SetButtonRegion(plain, ButtonWidth(), ButtonHeight(),
                          skin::RegionRedraw::CallerRepaintsButton);
    regions.push_back(NowMicroseconds() - start);
    DestroyWindow(plain);
  }
  HWND button = createButton();
  skin::SkinAttachWindow(button);
  UpdateWindow(button);
  const double renderUs =
      MedianMicroseconds(kAttachSamples, 1, [&] { skin::RenderButtonStates(button); });
  // Four memory DCs with a DIB section of the button's size each, made, selected and freed.
  const double surfacesUs = MedianMicroseconds(kAttachSamples, 1, [&] {
    for (int state = 0; state < kSurfacesPerButton; ++state) {
      gdi::MemoryDc surface(nullptr);
      gdi::Bitmap bitmap(skin::CreateTopDownDib(ButtonWidth(), ButtonHeight()));
      gdi::SelectGuard select(surface.get(), bitmap.get());
    }
  });
  DestroyWindow(button);
  report.AddGoal("4. Attach of one push button / creating it natively (each with its first paint)",
                 Ratio(attachUs, createUs), AtMost(kAttachOneRatioGoal),
                 attachUs <= kAttachOneRatioGoal * createUs);
  report.AddFigure("   of which: the attach call; the button's first paint",
                   Duration(callUs) + "; " + Duration(attachUs - callUs));
  report.AddFigure(
      "   in the call: ten property writes; corner region; four state surfaces; their images",
      Duration(Median(writes)) + "; " + Duration(Median(regions)) + "; " + Duration(surfacesUs) +
          "; " + Duration(renderUs));
}

// 6. SkinInstall on the main window, sprite sheet build included, against creating the main
// window itself. Loading Form1 runs Form_Load, which installs the skin, so the window's own cost
// is the load less the install. Each sample loads the window, then takes the skin off (which
// also releases the sprite sheet) and times SkinInstall on it while it is hidden, as it is in
// Form_Load.
void MeasureInstall(Report& report) {
  std::vector<double> forms, installs;
  app::form1::Show();
  app::form1::Unload();
  for (int i = 0; i < kInstallSamples; ++i) {
    double start = NowMicroseconds();
    HWND form = app::form1::Show();
    const double loadUs = NowMicroseconds() - start;
    const bool loadInstalled = skin::IsSkinned(form);
    ShowWindow(form, SW_HIDE);
    skin::SkinRemove(form);
    start = NowMicroseconds();
    skin::SkinInstall(form);
    const double installUs = NowMicroseconds() - start;
    installs.push_back(installUs);
    forms.push_back(loadInstalled ? loadUs - installUs : loadUs);
    app::form1::Unload();
  }
  const double installUs = Median(installs);
  const double formUs = Median(forms);
  report.AddGoal("6. SkinInstall on Form1 / creating Form1 (load and show less the install)",
                 Ratio(installUs, formUs), AtMost(kInstallRatioGoal),
                 installUs <= kInstallRatioGoal * formUs);
}

// 8. Attach and detach per control on forms of 10, 100 and 1,000 push buttons. The forms take
// turns, round by round, so that a change in the machine's load falls on all three alike.
// Another skinned window keeps the sprite sheet alive, so only the per-window work is timed.
void MeasureScaling(Report& report) {
  std::vector<std::unique_ptr<ButtonForm>> forms;
  for (const ScaleCase& scale : kScaleCases) {
    forms.push_back(
        std::make_unique<ButtonForm>(ScaleGrid(scale.buttons), kHiddenFormOrigin, false));
  }
  const size_t cases = std::size(kScaleCases);
  std::vector<std::vector<double>> attach(cases), detach(cases);
  for (int round = 0; round < kScaleRounds; ++round) {
    for (size_t c = 0; c < cases; ++c) {
      const double buttons = kScaleCases[c].buttons;
      for (int i = 0; i < kScaleCases[c].samplesPerRound; ++i) {
        double start = NowMicroseconds();
        skin::SkinAttachWindow(forms[c]->form());
        attach[c].push_back((NowMicroseconds() - start) / buttons);
        start = NowMicroseconds();
        skin::SkinDetachWindow(forms[c]->form());
        detach[c].push_back((NowMicroseconds() - start) / buttons);
      }
    }
  }
  std::vector<double> attachPerControl;
  std::string figure, detachFigure;
  for (size_t c = 0; c < cases; ++c) {
    attachPerControl.push_back(Median(attach[c]));
    const std::string separator = figure.empty() ? "" : ", ";
    figure += separator + Duration(attachPerControl.back());
    detachFigure += separator + Duration(Median(detach[c]));
  }
  const auto [lowest, highest] =
      std::minmax_element(attachPerControl.begin(), attachPerControl.end());
  const double spread = *highest / *lowest;
  report.AddGoal("8. Attach per control, forms of 10, 100, 1,000 buttons",
                 figure + " (max/min " + Fixed(spread, 2) + ")",
                 "flat: max/min <= " + Fixed(kFlatnessGoal, 1), spread <= kFlatnessGoal);
  report.AddFigure("   Detach per control, forms of 10, 100, 1,000 buttons", detachFigure);
}

// 7. GDI objects and memory per skinned push button of the measured size, from a form of 100 of
// them. A button holds four state surfaces: a memory DC with a bitmap each. (The rounded window
// region goes to the system, which under Wine keeps a copy of its own and deletes the handle.)
void MeasureFootprint(Report& report) {
  ButtonForm form({kMemoryButtons, ButtonWidth(), ButtonHeight(), 4}, kHiddenFormOrigin, false);
  // Memory on the first attach, while the heap has no freed blocks of this size to hand out.
  const SIZE_T memoryBefore = WorkingSet();
  skin::SkinAttachWindow(form.form());
  const SIZE_T memoryAttached = WorkingSet();
  skin::SkinDetachWindow(form.form());
  // GDI objects on the second: the first window DC of each window made the system cache a DC
  // (with its bitmap and region) that it keeps for the window's life.
  const testing_support::GdiCounts before = testing_support::CountGdiObjects();
  skin::SkinAttachWindow(form.form());
  const testing_support::GdiCounts attached = testing_support::CountGdiObjects();
  skin::SkinDetachWindow(form.form());
  const testing_support::GdiCounts after = testing_support::CountGdiObjects();

  const int memoryDcs = attached.memoryDcs - before.memoryDcs;
  const int bitmaps = attached.bitmaps - before.bitmaps;
  const int total = attached.Total() - before.Total();
  const int left = after.Total() - before.Total();
  const bool asDesigned = memoryDcs == kSurfacesPerButton * kMemoryButtons &&
                          bitmaps == kSurfacesPerButton * kMemoryButtons &&
                          total <= 2 * kSurfacesPerButton * kMemoryButtons + kMemoryButtons &&
                          after == before;
  report.AddGoal("7. GDI objects per skinned push button",
                 PerButton(total, kMemoryButtons) + " (memory DCs " +
                     PerButton(memoryDcs, kMemoryButtons) + ", bitmaps " +
                     PerButton(bitmaps, kMemoryButtons) + "); " + std::to_string(left) +
                     " left after detach",
                 "4 DCs + 4 bitmaps (+ region), none left", asDesigned);
  const double bytesPerButton = static_cast<double>(memoryAttached - memoryBefore) / kMemoryButtons;
  const double surfaceBytes = kSurfacesPerButton * ButtonWidth() * ButtonHeight() * 4.0;
  report.AddFigure("   Memory per skinned " + ButtonSizeText() + " push button (working set)",
                   Fixed(bytesPerButton / 1024, 1) +
                       " KiB (four 32-bit surfaces: " + Fixed(surfaceBytes / 1024, 1) + " KiB)");
  report.AddFigure("   Peak working set of the whole run",
                   Fixed(static_cast<double>(PeakWorkingSet()) / (1024 * 1024), 1) + " MiB");
}

}  // namespace bench
