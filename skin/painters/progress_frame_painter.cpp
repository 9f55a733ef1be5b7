#include "skin/painters/progress_frame_painter.h"

#include <commctrl.h>

#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/surface.h"
#include "skin/painters/control_colours.h"
#include "skin/painters/control_geometry.h"

namespace skin {
namespace {

struct BarShape {
  bool vertical;
  bool smooth;
  float fraction;
};

BarShape ShapeOf(HWND bar) {
  const LONG_PTR style = GetWindowLongPtrW(bar, GWL_STYLE);
  const auto position = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
  return {(style & PBS_VERTICAL) != 0, (style & PBS_SMOOTH) != 0, ProgressFraction(position)};
}

struct Size {
  int width;
  int height;
};

Size ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right - client.left, client.bottom - client.top};
}

bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

}  // namespace

bool PaintProgressClient(HWND bar, HDC dc) {
  const BarShape shape = ShapeOf(bar);
  const Size client = ClientSize(bar);
  Surface surface(client.width, client.height);
  if (!surface) return false;
  FillSolid(surface.get(), 0, 0, client.width, client.height, kWhite);
  if (shape.fraction != 0.0f) {
    if (shape.vertical) {
      const PixelSpan fill = VerticalFill(client.height, shape.fraction);
      FillSolid(surface.get(), 0, fill.start, client.width, fill.length, kProgressBarColour);
    } else {
      const PixelSpan fill = HorizontalFill(client.width, shape.fraction);
      FillSolid(surface.get(), 0, 0, fill.length, client.height, kProgressBarColour);
    }
  }
  BitBlt(dc, 0, 0, client.width, client.height, surface.get(), 0, 0, SRCCOPY);
  return true;
}

bool PaintProgressWindow(HWND bar) {
  int insetX = 0;
  int insetY = 0;
  GetBorderInsets(bar, insetX, insetY);
  WindowBounds bounds{};
  GetWindowBounds(bar, bounds);
  const Size client = ClientSize(bar);
  const BarShape shape = ShapeOf(bar);

  Surface surface(bounds.width, bounds.height);
  gdi::WindowDc windowDc(bar);
  if (!surface || !windowDc) return false;
  // The frame keeps the enabled colour even on a disabled bar.
  FillSolid(surface.get(), 0, 0, bounds.width, bounds.height, kFrameColour);
  FillSolid(surface.get(), 1, 1, bounds.width - 2, bounds.height - 2, kWhite);
  if (shape.fraction != 0.0f) {
    if (shape.vertical) {
      // Only a smooth vertical bar shows here; the client paint that follows draws the others.
      if (shape.smooth) {
        FillSolid(surface.get(), insetX, insetY, client.width, client.height, kProgressBarColour);
      }
      const PixelSpan fill = VerticalFill(client.height, shape.fraction);
      FillSolid(surface.get(), insetX, insetY, client.width, fill.start, kWhite);
    } else {
      const PixelSpan fill = HorizontalFill(client.width, shape.fraction);
      FillSolid(surface.get(), insetX, insetY, fill.length, client.height, kProgressBarColour);
    }
  }
  BitBlt(windowDc.get(), 0, 0, bounds.width, bounds.height, surface.get(), 0, 0, SRCCOPY);
  return true;
}

void DrawDoubleFrame(HWND window) {
  WindowBounds bounds{};
  GetWindowBounds(window, bounds);
  gdi::WindowDc windowDc(window);
  FrameSolid(windowDc.get(), 0, 0, bounds.width, bounds.height, FrameColourFor(Enabled(window)));
  FrameSolid(windowDc.get(), 1, 1, bounds.width - 2, bounds.height - 2, kWhite);
}

void DrawGridFrame(HWND window) {
  if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_BORDER) == 0) return;
  WindowBounds bounds{};
  GetWindowBounds(window, bounds);
  gdi::WindowDc windowDc(window);
  FrameSolid(windowDc.get(), 0, 0, bounds.width, bounds.height, FrameColourFor(Enabled(window)));
}

void DrawClientEdgeFrame(HWND window) {
  if ((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == 0) return;
  int insetX = 0;
  int insetY = 0;
  GetBorderInsets(window, insetX, insetY);
  WindowBounds bounds{};
  GetWindowBounds(window, bounds);
  gdi::WindowDc windowDc(window);
  gdi::WindowDc clientDc(window, gdi::WindowDc::Area::Client);
  FrameSolid(windowDc.get(), 0, 0, bounds.width, bounds.height, FrameColourFor(Enabled(window)));
  // The rings inside the frame take the client background. They all end one pixel short of the
  // outer frame on the right and at the bottom; only their left and top edges move inwards.
  const COLORREF background = GetBkColor(clientDc.get());
  for (int d = 1; d <= insetX; ++d) {
    FrameSolid(windowDc.get(), d, d, bounds.width - 1 - d, bounds.height - 1 - d, background);
  }
}

}  // namespace skin
