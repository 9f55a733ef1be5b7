#pragma once

// Small move-only owners for the GDI and USER handles the program creates, and scope guards
// that undo a selection into a device context. Declare a guard after the owners of what it
// selects, so that destruction deselects first and deletes after.

#include <windows.h>

#include <utility>

namespace gdi {

// Owns one GDI object (bitmap, brush, pen, region, palette, font) and deletes it.
template <typename Handle>
class Object {
 public:
  Object() = default;
  explicit Object(Handle handle) : handle_(handle) {}
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  Object(Object&& other) noexcept : handle_(other.release()) {}
  Object& operator=(Object&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~Object() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

  // Gives the handle up without deleting it; the caller says who owns it now.
  Handle release() { return std::exchange(handle_, nullptr); }

  void reset(Handle handle = nullptr) {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using Bitmap = Object<HBITMAP>;
using Brush = Object<HBRUSH>;
using Pen = Object<HPEN>;
using Region = Object<HRGN>;
using Palette = Object<HPALETTE>;
using Font = Object<HFONT>;

// Owns a memory device context from CreateCompatibleDC and deletes it.
class MemoryDc {
 public:
  MemoryDc() = default;
  explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  MemoryDc(MemoryDc&& other) noexcept : dc_(other.release()) {}
  MemoryDc& operator=(MemoryDc&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~MemoryDc() { reset(); }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  HDC release() { return std::exchange(dc_, nullptr); }
  void reset(HDC dc = nullptr) {
    if (dc_ != nullptr) DeleteDC(dc_);
    dc_ = dc;
  }

 private:
  HDC dc_ = nullptr;
};

// Owns a device context for the whole display from CreateDC("DISPLAY") and deletes it.
class DisplayDc {
 public:
  DisplayDc() : dc_(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)) {}
  DisplayDc(const DisplayDc&) = delete;
  DisplayDc& operator=(const DisplayDc&) = delete;
  ~DisplayDc() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// A window's device context from GetWindowDC (whole window) or GetDC (client area), released
// with ReleaseDC on the same window.
class WindowDc {
 public:
  enum class Area { Whole, Client };

  explicit WindowDc(HWND window, Area area = Area::Whole)
      : window_(window), dc_(area == Area::Whole ? GetWindowDC(window) : GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  WindowDc(WindowDc&& other) noexcept
      : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint / EndPaint for one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(window_, &paint_); }

  HDC get() const { return dc_; }
  const PAINTSTRUCT& paint() const { return paint_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a device context and puts the previous one back on destruction.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Selects a palette into a device context and puts the previous one back on destruction.
class PaletteGuard {
 public:
  PaletteGuard(HDC dc, HPALETTE palette)
      : dc_(dc), previous_(dc != nullptr && palette != nullptr ? SelectPalette(dc, palette, FALSE) : nullptr) {}
  PaletteGuard(const PaletteGuard&) = delete;
  PaletteGuard& operator=(const PaletteGuard&) = delete;
  ~PaletteGuard() {
    if (previous_ != nullptr) SelectPalette(dc_, previous_, FALSE);
  }

 private:
  HDC dc_;
  HPALETTE previous_;
};

// Saves a device context's text colour, background colour and background mode and restores
// them on destruction, so a painter never leaves a caller's DC modified.
class DcStateGuard {
 public:
  explicit DcStateGuard(HDC dc) : dc_(dc), saved_(dc != nullptr ? SaveDC(dc) : 0) {}
  DcStateGuard(const DcStateGuard&) = delete;
  DcStateGuard& operator=(const DcStateGuard&) = delete;
  ~DcStateGuard() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

}  // namespace gdi
