// Figures of the platform alone: the native push button drawing itself, the two block copies a
// painter can use, a native repaint end to end, and the main window's own creation.

#include "app/windows/main_window.h"
#include "bench/button_form.h"
#include "bench/measurements.h"
#include "bench/timing.h"
#include "skin/graphics/surface.h"
#include "win/dpi.h"

namespace bench {
namespace {

constexpr BYTE kFullAlpha = 255;
constexpr POINT kNativeFormOrigin = {40, 40};

// Samples x batch for operations of a few microseconds, of a few hundred, and of milliseconds.
constexpr int kFastSamples = 101, kFastBatch = 50;
constexpr int kRepaintSamples = 51, kRepaintBatch = 10;
constexpr int kFormSamples = 21;

double MeasurePrintClient(HWND button) {
  skin::Surface target(ButtonWidth(), ButtonHeight());
  return MedianMicroseconds(kFastSamples, kFastBatch, [&] {
    SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.get()), PRF_CLIENT);
  });
}

double MeasureAlphaBlend() {
  skin::Surface source(ButtonWidth(), ButtonHeight());
  skin::Surface target(ButtonWidth(), ButtonHeight());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, kFullAlpha, 0};
  return MedianMicroseconds(kFastSamples, kFastBatch, [&] {
    GdiAlphaBlend(target.get(), 0, 0, ButtonWidth(), ButtonHeight(), source.get(), 0, 0,
                  ButtonWidth(), ButtonHeight(), blend);
  });
}

double MeasureBitBlt() {
  skin::Surface source(ButtonWidth(), ButtonHeight());
  skin::Surface target(ButtonWidth(), ButtonHeight());
  return MedianMicroseconds(kFastSamples, kFastBatch, [&] {
    BitBlt(target.get(), 0, 0, ButtonWidth(), ButtonHeight(), source.get(), 0, 0, SRCCOPY);
  });
}

double MeasureForm1Show() {
  std::vector<double> samples;
  app::form1::Show();  // the first load pays for classes, fonts and resources
  app::form1::Unload();
  for (int i = 0; i < kFormSamples; ++i) {
    const double start = NowMicroseconds();
    app::form1::Show();
    samples.push_back(NowMicroseconds() - start);
    app::form1::Unload();
  }
  return Median(std::move(samples));
}

}  // namespace

int BenchDpi() {
  static const int dpi = win::ScreenDpi();
  return dpi;
}

int ButtonWidth() { return win::TwipsToPixels(3855, BenchDpi()); }
int ButtonHeight() { return win::TwipsToPixels(375, BenchDpi()); }
std::string ButtonSizeText() {
  return std::to_string(ButtonWidth()) + " x " + std::to_string(ButtonHeight());
}

double MeasureRedraw(HWND window) {
  return MedianMicroseconds(kRepaintSamples, kRepaintBatch, [&] {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  });
}

PlatformFigures MeasurePlatform(Report& report) {
  PlatformFigures figures;
  {
    ButtonForm native({1, ButtonWidth(), ButtonHeight(), 1}, kNativeFormOrigin, true);
    figures.nativePrintClientUs = MeasurePrintClient(native.button(0));
    figures.nativeRedrawUs = MeasureRedraw(native.button(0));
  }
  figures.alphaBlendUs = MeasureAlphaBlend();
  figures.bitBltUs = MeasureBitBlt();
  figures.form1ShowUs = MeasureForm1Show();

  report.AddFigure(
      "Native push button draws itself into a memory DC (WM_PRINTCLIENT, " + ButtonSizeText() + ")",
      Duration(figures.nativePrintClientUs));
  report.AddFigure("AlphaBlend " + ButtonSizeText() + ", constant alpha 255",
                   Duration(figures.alphaBlendUs));
  report.AddFigure("BitBlt " + ButtonSizeText(), Duration(figures.bitBltUs));
  report.AddFigure("RedrawWindow of a native push button (invalidate and update)",
                   Duration(figures.nativeRedrawUs));
  report.AddFigure("Loading and showing Form1 (Form_Load included)", Duration(figures.form1ShowUs));
  return figures;
}

}  // namespace bench
