#pragma once

// The skin's names for the owners of GDI and USER handles. The owners themselves, one template
// with traits per kind of handle, live in win/unique_handle.h, shared with the application.

#include "win/unique_handle.h"

namespace gdi {

template <typename Handle>
using Object = win::GdiObject<Handle>;
using win::Bitmap;
using win::Brush;
using win::Font;
using win::Palette;
using win::Pen;
using win::Region;

using win::CreatedDc;
using win::DcStateGuard;
using win::DisplayDc;
using win::MemoryDc;
using win::PaintDc;
using win::PaletteGuard;
using win::SelectGuard;
using win::WindowDc;

}  // namespace gdi
