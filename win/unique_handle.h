#pragma once

// One move-only owner for every kind of handle the program takes from the platform, and the
// traits that say how each kind is let go: GDI objects, device contexts (made, borrowed from a
// window, or opened for a paint), kernel handles, registry keys, memory from LocalAlloc, and the
// guards that undo a selection (of an object or a palette) or a change of a device context; also
// icons and loaded modules.
//
// Declare a guard after the owners of what it selects, so that destruction deselects first and
// deletes after: the order is always restore the selection, delete the object, delete the DC.
// A handle that belongs to the system (a stock object, a region given to SetWindowRgn) is never
// held by an owner; release() gives one up, and the caller says who owns it now.

#include <windows.h>

#include <type_traits>
#include <utility>

namespace win {

// What most kinds need to let a handle go: nothing besides the handle.
struct NoContext {};

namespace detail {

template <typename Traits, typename = void>
struct ContextOf {
  using Type = NoContext;
};
template <typename Traits>
struct ContextOf<Traits, std::void_t<typename Traits::Context>> {
  using Type = typename Traits::Context;
};

}  // namespace detail

// Owns one handle described by Traits:
//   using Handle = ...;                 the handle type; a value-initialised Handle is "none"
//   static bool Close(Handle[, Context]);  lets a handle go; true when the platform agreed
//   using Context = ...;                (optional) what Close needs besides the handle, such as
//                                       the window a DC was borrowed from
//   static bool IsValid(Handle);        (optional) false for the platform's other ways of
//                                       saying "none" (INVALID_HANDLE_VALUE, HGDI_ERROR);
//                                       such a value is taken as none
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;
  using Context = typename detail::ContextOf<Traits>::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle, Context context = Context{})
      : handle_(Adopted(handle)), context_(context) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, Handle{})), context_(other.context_) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    const Context context = other.context_;
    reset(other.release(), context);
    return *this;
  }
  ~UniqueHandle() { close(); }

  Handle get() const { return handle_; }
  const Context& context() const { return context_; }
  explicit operator bool() const { return Adopted(handle_) != Handle{}; }

  // Gives the handle up without letting it go; the caller says who owns it now.
  Handle release() { return std::exchange(handle_, Handle{}); }

  // Lets the handle held go and takes another (or none).
  void reset(Handle handle = Handle{}, Context context = Context{}) {
    close();
    handle_ = Adopted(handle);
    context_ = context;
  }

  // Lets the handle go now and tells whether the platform agreed; for a written file, where a
  // failed close can mean lost data. True when nothing was held.
  bool close() {
    const Handle handle = Adopted(std::exchange(handle_, Handle{}));
    return handle == Handle{} || LetGo(handle);
  }

  // For functions that hand out a handle through a pointer (RegOpenKeyExW, CreatePipe): lets
  // any handle held go and gives out the slot to fill. What a failed call leaves there is
  // checked as any other handle.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  static Handle Adopted(Handle handle) {
    if constexpr (requires { Traits::IsValid(handle); }) {
      return Traits::IsValid(handle) ? handle : Handle{};
    } else {
      return handle;
    }
  }

  bool LetGo(Handle handle) const {
    if constexpr (std::is_same_v<Context, NoContext>) {
      return Traits::Close(handle);
    } else {
      return Traits::Close(handle, context_);
    }
  }

  Handle handle_{};
  [[no_unique_address]] Context context_{};
};

// --- Traits ---------------------------------------------------------------------------------

// A handle let go by one function of the handle alone that returns nonzero on success.
template <typename HandleType, auto Release>
struct ReleasedBy {
  using Handle = HandleType;
  static bool Close(Handle handle) { return Release(handle) != 0; }
};

// A GDI object: bitmap, brush, pen, region, palette or font.
template <typename ObjectHandle>
using GdiObjectTraits = ReleasedBy<ObjectHandle, DeleteObject>;

// A device context that is deleted: from CreateCompatibleDC or CreateDC.
using CreatedDcTraits = ReleasedBy<HDC, DeleteDC>;

// An icon or cursor the program made (CreateIconFromResourceEx); never a shared one (LR_SHARED),
// which belongs to the system's cache.
using IconTraits = ReleasedBy<HICON, DestroyIcon>;

// A module loaded with LoadLibraryEx.
using ModuleTraits = ReleasedBy<HMODULE, FreeLibrary>;

// A device context borrowed from a window with GetDC or GetWindowDC (or from the screen, with
// a null window), given back with ReleaseDC on the same window.
struct WindowDcTraits {
  using Handle = HDC;
  using Context = HWND;
  static bool Close(HDC dc, HWND window) { return ReleaseDC(window, dc) != 0; }
};

// A paint of a window between BeginPaint and EndPaint. The handle is the window, so that
// EndPaint runs for every BeginPaint, even one that got no device context.
struct PaintTraits {
  using Handle = HWND;
  using Context = PAINTSTRUCT;
  static bool Close(HWND window, const PAINTSTRUCT& paint) {
    return EndPaint(window, &paint) != FALSE;
  }
};

// The object a device context held before a selection: selected again when the guard ends.
struct SelectionTraits {
  using Handle = HGDIOBJ;
  using Context = HDC;
  static bool IsValid(HGDIOBJ previous) { return previous != nullptr && previous != HGDI_ERROR; }
  static bool Close(HGDIOBJ previous, HDC dc) { return SelectObject(dc, previous) != nullptr; }
};

// The palette a device context held before a SelectPalette: selected again, in the background or
// not as the context says, and realised when the guard ends.
struct PaletteSelectionTraits {
  using Handle = HPALETTE;
  struct Context {
    HDC dc;
    BOOL restoreAsBackground;
  };
  static bool Close(HPALETTE previous, const Context& context) {
    const bool selected =
        SelectPalette(context.dc, previous, context.restoreAsBackground) != nullptr;
    RealizePalette(context.dc);
    return selected;
  }
};

// A device context's state saved by SaveDC, restored when the guard ends.
struct SavedDcTraits {
  using Handle = int;
  using Context = HDC;
  static bool Close(int saved, HDC dc) { return RestoreDC(dc, saved) != FALSE; }
};

// A kernel handle (file, process, thread, event). The null handle and INVALID_HANDLE_VALUE,
// the two ways the platform says "no handle", both count as none.
struct KernelHandleTraits : ReleasedBy<HANDLE, CloseHandle> {
  static bool IsValid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
};

// A directory search from FindFirstFileEx, ended with FindClose; INVALID_HANDLE_VALUE is none.
struct FileSearchTraits : ReleasedBy<HANDLE, FindClose> {
  static bool IsValid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
};

// An open registry key (never one of the predefined roots such as HKEY_CURRENT_USER).
struct RegistryKeyTraits {
  using Handle = HKEY;
  static bool Close(HKEY key) { return RegCloseKey(key) == ERROR_SUCCESS; }
};

// Memory the platform allocated with LocalAlloc for the caller (CommandLineToArgvW).
template <typename Pointer>
struct LocalMemoryTraits {
  using Handle = Pointer;
  static bool Close(Pointer memory) { return LocalFree(memory) == nullptr; }
};

// --- The owners by kind ---------------------------------------------------------------------

template <typename ObjectHandle>
using GdiObject = UniqueHandle<GdiObjectTraits<ObjectHandle>>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Region = GdiObject<HRGN>;
using Palette = GdiObject<HPALETTE>;
using Font = GdiObject<HFONT>;

using Icon = UniqueHandle<IconTraits>;
using Module = UniqueHandle<ModuleTraits>;
using KernelHandle = UniqueHandle<KernelHandleTraits>;
using RegistryKey = UniqueHandle<RegistryKeyTraits>;
using FileSearch = UniqueHandle<FileSearchTraits>;
template <typename Pointer>
using LocalMemory = UniqueHandle<LocalMemoryTraits<Pointer>>;

// A device context made by CreateDC or CreateCompatibleDC, taken over as it is.
using CreatedDc = UniqueHandle<CreatedDcTraits>;

// A memory device context from CreateCompatibleDC.
class MemoryDc : public UniqueHandle<CreatedDcTraits> {
 public:
  MemoryDc() = default;
  explicit MemoryDc(HDC compatibleWith) : UniqueHandle(CreateCompatibleDC(compatibleWith)) {}
};

// A device context for the whole display from CreateDC("DISPLAY").
class DisplayDc : public UniqueHandle<CreatedDcTraits> {
 public:
  DisplayDc() : UniqueHandle(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)) {}
};

// A window's device context from GetWindowDC (whole window) or GetDC (client area; a null
// window gives the screen's), released with ReleaseDC on the same window.
class WindowDc : public UniqueHandle<WindowDcTraits> {
 public:
  enum class Area { Whole, Client };

  explicit WindowDc(HWND window, Area area = Area::Whole)
      : UniqueHandle(area == Area::Whole ? GetWindowDC(window) : GetDC(window), window) {}
};

// BeginPaint / EndPaint for one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : painting_(window, BeginPainting(window)) {}

  HDC get() const { return painting_.context().hdc; }
  const PAINTSTRUCT& paint() const { return painting_.context(); }

 private:
  static PAINTSTRUCT BeginPainting(HWND window) {
    PAINTSTRUCT paint{};
    BeginPaint(window, &paint);
    return paint;
  }

  UniqueHandle<PaintTraits> painting_;
};

// Selects an object (bitmap, brush, pen, font) into a device context and puts the previous one
// back when it ends. Nothing is selected into a null DC, nor a null object.
class SelectGuard : public UniqueHandle<SelectionTraits> {
 public:
  SelectGuard(HDC dc, HGDIOBJ object)
      : UniqueHandle(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr, dc) {}
};

// Selects a palette into a device context as a background palette and realises it; when it ends,
// selects the previous palette back (as a background palette or not) and realises that. Nothing
// is selected into a null DC, nor a null palette.
class PaletteGuard : public UniqueHandle<PaletteSelectionTraits> {
 public:
  PaletteGuard(HDC dc, HPALETTE palette, BOOL restoreAsBackground)
      : UniqueHandle(
            dc != nullptr && palette != nullptr ? SelectPalette(dc, palette, TRUE) : nullptr,
            {dc, restoreAsBackground}) {
    if (*this) RealizePalette(dc);
  }
};

// Saves a device context's state (colours, modes, selected objects) and restores it when it
// ends, so that a painter never leaves a caller's DC modified.
class DcStateGuard : public UniqueHandle<SavedDcTraits> {
 public:
  explicit DcStateGuard(HDC dc) : UniqueHandle(dc != nullptr ? SaveDC(dc) : 0, dc) {}
};

}  // namespace win
