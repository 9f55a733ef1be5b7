// Figures of the skin, each set against its platform counterpart measured in the same run.
// The attach, the install and what a skinned button holds are measured in attach_bench.cpp.

#include <windows.h>

#include <string>
#include <vector>

#include "bench/button_form.h"
#include "bench/measurements.h"
#include "bench/timing.h"
#include "skin/core/skin_props.h"
#include "skin/engine/skin_engine.h"
#include "skin/graphics/surface.h"
#include "skin/messages/fade_timer.h"
#include "skin/painters/button_painter.h"
#include "skin/painters/hover_fade.h"

namespace bench {
namespace {

constexpr POINT kNativeFormOrigin = {40, 40};
constexpr POINT kSkinnedFormOrigin = {40, 140};

constexpr double kPaintRatioGoal = 0.1;
constexpr double kRedrawRatioGoal = 0.95;
constexpr double kUnhandledMessageRatioGoal = 1.2;
constexpr double kFadeCoreShareGoal = 0.003;

constexpr int kFastSamples = 101, kFastBatch = 50;
constexpr int kTextLength = 64;
constexpr int kRepaintSamples = 51, kRepaintBatch = 10;
constexpr int kFades = 60;
constexpr UINT kFadeTickMs = skin::kFadeTimerPeriodMs;

void DropQueuedTicks(HWND window) {
  MSG message;
  while (PeekMessageW(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
  }
  while (PeekMessageW(&message, window, WM_MOUSELEAVE, WM_MOUSELEAVE, PM_REMOVE)) {
  }
}

// 1. One repaint of a skinned push button at full strength into a memory DC, against the
// native button drawing itself into a memory DC of the same size.
void MeasurePaint(Report& report, HWND skinned, HWND native) {
  skin::Surface target(ButtonWidth(), ButtonHeight());
  skin::SetSkinProp(skinned, skin::props::kAlphaLevel, skin::kFadeFullLevel);
  const auto [paintUs, nativeUs] = PairedMedianMicroseconds(
      kFastSamples, kFastBatch, [&] { skin::PaintButton(skinned, target.get()); },
      [&] {
        SendMessageW(native, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.get()), PRF_CLIENT);
      });
  const double propertyUs = MedianMicroseconds(
      kFastSamples, kFastBatch, [&] { GetPropA(skinned, skin::props::kAlphaLevel); });
  const double storeUs = MedianMicroseconds(
      kFastSamples, kFastBatch, [&] { skin::GetSkinProp(skinned, skin::props::kAlphaLevel); });
  report.AddGoal("1. PaintButton at 255 into a memory DC / native WM_PRINTCLIENT",
                 Ratio(paintUs, nativeUs), AtMost(kPaintRatioGoal),
                 paintUs <= kPaintRatioGoal * nativeUs);
  report.AddFigure("   One read of a window property (GetPropA) / of the skin's store",
                   Duration(propertyUs) + " / " + Duration(storeUs));
}

// 2. The same repaint end to end through RedrawWindow.
void MeasureSkinnedRedraw(Report& report, HWND skinned, HWND native) {
  const auto redraw = [](HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  };
  const auto [skinnedUs, nativeUs] = PairedMedianMicroseconds(
      kRepaintSamples, kRepaintBatch, [&] { redraw(skinned); }, [&] { redraw(native); });
  report.AddGoal("2. RedrawWindow of a skinned / a native push button", Ratio(skinnedUs, nativeUs),
                 AtMost(kRedrawRatioGoal), skinnedUs <= kRedrawRatioGoal * nativeUs);
}

// 3. A message that no skin handler takes, sent to a skinned and to an unskinned push button:
// what the skin's window procedure adds on its way to the button's own.
void MeasureUnhandledMessage(Report& report, HWND skinned, HWND native) {
  wchar_t text[kTextLength];
  const auto getText = [&](HWND window) {
    SendMessageW(window, WM_GETTEXT, kTextLength, reinterpret_cast<LPARAM>(text));
  };
  const auto [skinnedUs, nativeUs] = PairedMedianMicroseconds(
      kFastSamples, kFastBatch, [&] { getText(skinned); }, [&] { getText(native); });
  const WNDPROC previous = skin::GetSkinPropHandle<WNDPROC>(skinned, skin::props::kProcAddr);
  const double passOnUs = MedianMicroseconds(kFastSamples, kFastBatch, [&] {
    CallWindowProcW(previous, skinned, WM_GETTEXT, kTextLength, reinterpret_cast<LPARAM>(text));
  });
  // What the skin's procedure reads before it passes a message on: the previous procedure and the
  // window's traits, both answered from the store's memory.
  const double lookUpUs = MedianMicroseconds(kFastSamples, kFastBatch, [&] {
    skin::GetSkinPropHandle<WNDPROC>(skinned, skin::props::kProcAddr);
    skin::GetSkinTraits(skinned);
  });
  report.AddGoal("3. WM_GETTEXT (no skin handler) to a skinned / an unskinned push button",
                 Ratio(skinnedUs, nativeUs), AtMost(kUnhandledMessageRatioGoal),
                 skinnedUs <= kUnhandledMessageRatioGoal * nativeUs);
  report.AddFigure(
      "   of which: CallWindowProcW on to the button's own procedure; the skin's look-ups",
      Duration(passOnUs) + "; " + Duration(lookUpUs));
}

// 5. Whole fades of the button driven by sending WM_TIMER, alternately towards the hot
// face (pointer enters) and back to normal (pointer leaves). The CPU time of a fade is the
// process's own plus what the Wine server and the X server spent meanwhile (their processes'
// CPU time, when the script names them), since under Wine every window property and window
// DC goes through the Wine server. Its share of one core is that time over the fade's own
// length on the clock: one 15 ms tick per step.
void MeasureFade(Report& report, HWND button, double alphaBlendUs) {
  std::vector<double> steps;
  int stepCount = 0;
  // The pointer rests over the button, as it does when a user hovers it: a move that arrives
  // while the pointer is elsewhere starts no fade.
  RECT rect{};
  GetWindowRect(button, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  const double cpuStart = ProcessCpuMicroseconds();
  const double helpersStart = HelperCpuMicroseconds();
  for (int fade = 0; fade < kFades; ++fade) {
    SendMessageW(button, fade % 2 == 0 ? WM_MOUSEMOVE : WM_MOUSELEAVE, 0, 0);
    while (skin::GetSkinProp(button, skin::props::kTimerId) != 0) {
      const double start = NowMicroseconds();
      SendMessageW(button, WM_TIMER, skin::kFadeTimerId, 0);
      steps.push_back(NowMicroseconds() - start);
      ++stepCount;
    }
  }
  const double cpuPerFade = (ProcessCpuMicroseconds() - cpuStart) / kFades;
  const double helpersPerFade = (HelperCpuMicroseconds() - helpersStart) / kFades;
  DropQueuedTicks(button);

  const int stepsPerFade = stepCount / kFades;
  const double fadeLengthUs = stepsPerFade * kFadeTickMs * 1000.0;
  const double share = (cpuPerFade + helpersPerFade) / fadeLengthUs;
  report.AddFigure("5. One fade step of a " + ButtonSizeText() + " button (WM_TIMER), wall clock",
                   Duration(Median(steps)));
  report.AddGoal("   CPU of one whole fade (" + std::to_string(stepsPerFade) + " steps) / its " +
                     Fixed(fadeLengthUs / 1000, 0) + " ms",
                 Duration(cpuPerFade) + " + servers " + Duration(helpersPerFade) + " = " +
                     Fixed(share * 100, 2) + " % of a core",
                 "<= " + Fixed(kFadeCoreShareGoal * 100, 1) + " %", share <= kFadeCoreShareGoal);
  const double blendsUs = stepsPerFade * alphaBlendUs;
  report.AddFigure(
      "   of which: " + std::to_string(stepsPerFade) + " AlphaBlends of " + ButtonSizeText(),
      Duration(blendsUs) + " = " + Fixed(blendsUs / fadeLengthUs * 100, 2) + " % of a core");
}

}  // namespace

void MeasureSkin(Report& report, const PlatformFigures& platform) {
  ButtonForm native({1, ButtonWidth(), ButtonHeight(), 1}, kNativeFormOrigin, true);
  ButtonForm skinned({1, ButtonWidth(), ButtonHeight(), 1}, kSkinnedFormOrigin, true);
  skin::SkinInstall(skinned.form());
  UpdateWindow(skinned.form());
  HWND button = skinned.button(0);
  MeasurePaint(report, button, native.button(0));
  MeasureSkinnedRedraw(report, button, native.button(0));
  MeasureUnhandledMessage(report, button, native.button(0));
  MeasureAttachOne(report);
  MeasureFade(report, button, platform.alphaBlendUs);
  // With no other skinned window, so that each install builds the sprite sheet afresh.
  skin::SkinRemove(skinned.form());
  MeasureInstall(report);
  skin::SkinInstall(skinned.form());
  // Before the big forms of the scaling run, whose freed memory the heap would hand out again.
  MeasureFootprint(report);
  MeasureScaling(report);
  skin::SkinRemove(skinned.form());
}

}  // namespace bench
