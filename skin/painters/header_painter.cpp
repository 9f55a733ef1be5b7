#include "skin/painters/header_painter.h"

#include <commctrl.h>

#include <optional>

#include "skin/core/skin_props.h"
#include "skin/graphics/blit.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/painters/paint_scale.h"
#include "skin/graphics/surface.h"

namespace skin {
namespace {

// Item texts are read into a buffer of this many characters; the control writes at most one
// less, plus the terminating NUL.
constexpr int kItemTextBuffer = 256;
// DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS: every item is centred, whatever its
// own format says.
constexpr UINT kItemTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;

// Sprite cell of a state: hot and pressed have their own faces, every other value is normal.
SpriteCell FaceOf(SkinState state) {
  if (state == SkinState::Hot || state == SkinState::Pressed) return HeaderCell(ToInt(state));
  return HeaderCell(ToInt(SkinState::Normal));
}

// One item face from the sheet at the header's scale, nine-grid, opaque.
void DrawFace(HDC target, int x, int width, int height, SkinState state, const PaintScale& scale) {
  BlitNineGrid(target, x, 0, width, height, scale.sheet.header, Scaled(FaceOf(state), scale.factor),
               Scaled(kHeaderMargins, scale.factor));
}

RECT ItemRect(HWND header, int index) {
  RECT rect{};
  SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&rect));
  return rect;
}

HFONT HeaderFont(HWND header) {
  return reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0));
}

void DrawItemText(HDC surface, HWND header, int index, int x, int width, int height) {
  const std::wstring text = HeaderItemText(header, index);
  if (!text.empty()) DrawTextBox(surface, text, x, 0, width, height, kItemTextFormat);
}

}  // namespace

std::wstring HeaderItemText(HWND header, int index) {
  wchar_t buffer[kItemTextBuffer] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT;
  item.pszText = buffer;
  item.cchTextMax = kItemTextBuffer;
  SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  buffer[kItemTextBuffer - 1] = L'\0';
  // The control may hand back its own string instead of filling the buffer.
  const wchar_t* text =
      item.pszText != nullptr && item.pszText != LPSTR_TEXTCALLBACKW ? item.pszText : buffer;
  return std::wstring(text).substr(0, kItemTextBuffer - 1);
}

int PaintHeaderItem(HWND header, HDC dc, int index, SkinState state) {
  if (index < 0) return 0;
  WindowBounds bounds{};
  GetWindowBounds(header, bounds);
  const RECT item = ItemRect(header, index);
  const int width = item.right - item.left;
  const int height = item.bottom - item.top;

  Surface face(width, bounds.height);
  if (!face) return 0;  // the item keeps what it shows
  gdi::SelectGuard font(face.get(), HeaderFont(header));
  SetBkMode(face.get(), TRANSPARENT);
  DrawFace(face.get(), 0, width, bounds.height, state, ScaleOf(header));
  DrawItemText(face.get(), header, index, 0, width, bounds.height);

  std::optional<gdi::WindowDc> windowDc;
  if (dc == nullptr) dc = windowDc.emplace(header).get();
  BitBlt(dc, item.left, 0, width, height, face.get(), 0, 0, SRCCOPY);
  return 0;
}

bool PaintHeaderStrip(HWND header, HDC dc) {
  WindowBounds bounds{};
  GetWindowBounds(header, bounds);
  const PaintScale scale = ScaleOf(header);
  Surface strip(bounds.width, bounds.height);
  if (!strip) return false;
  // Right of the last item the strip shows the normal face's middle column.
  const SpriteCell column = Scaled(kHeaderBackgroundColumn, scale.factor);
  StretchBlt(strip.get(), 0, 0, bounds.width, bounds.height, scale.sheet.header, column.x, column.y,
             column.width, column.height, SRCCOPY);

  const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  if (count > 0) {
    const LONG_PTR pressed = GetSkinProp(header, props::kHeaderDownIndex);
    const LONG_PTR hot = GetSkinProp(header, props::kHeaderHotIndex);
    gdi::SelectGuard font(strip.get(), HeaderFont(header));
    SetBkMode(strip.get(), TRANSPARENT);
    for (int i = 0; i < count; ++i) {
      const RECT item = ItemRect(header, i);
      const int width = item.right - item.left;
      SkinState state = SkinState::Normal;
      if (i == hot) state = SkinState::Hot;
      if (i == pressed) state = SkinState::Pressed;
      DrawFace(strip.get(), item.left, width, bounds.height, state, scale);
      DrawItemText(strip.get(), header, i, item.left, width, item.bottom);
    }
  }
  BitBlt(dc, 0, 0, bounds.width, bounds.height, strip.get(), 0, 0, SRCCOPY);
  return true;
}

}  // namespace skin
