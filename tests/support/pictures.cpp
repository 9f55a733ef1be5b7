#include "tests/support/pictures.h"

#include <cstdint>
#include <cstdio>

#include "skin/graphics/gdi_handles.h"
#include "tests/support/test_paths.h"

namespace testing_support {
namespace {

// A 32-bit top-down DIB section, for reading pixels in a known format.
class PixelBuffer {
 public:
  PixelBuffer(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<const uint32_t*>(bits);
  }

  HBITMAP bitmap() const { return bitmap_.get(); }
  const uint32_t* bits() const { return bits_; }

 private:
  gdi::Bitmap bitmap_;
  const uint32_t* bits_ = nullptr;
};

COLORREF FromDibPixel(uint32_t pixel) {
  // DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool WriteBmp(const std::wstring& path, const std::vector<COLORREF>& pixels, int width, int height,
              int scale) {
  const int outWidth = width * scale;
  const int outHeight = height * scale;
  const int rowBytes = (outWidth * 3 + 3) & ~3;
  const uint32_t imageBytes = static_cast<uint32_t>(rowBytes) * static_cast<uint32_t>(outHeight);

  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + imageBytes;
  info.biSize = sizeof info;
  info.biWidth = outWidth;
  info.biHeight = outHeight;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = imageBytes;

  FILE* out = _wfopen(path.c_str(), L"wb");
  if (out == nullptr) return false;
  bool ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info, sizeof info, 1, out) == 1;
  std::vector<unsigned char> row(static_cast<size_t>(rowBytes), 0);
  for (int outY = outHeight - 1; ok && outY >= 0; --outY) {
    const int y = outY / scale;
    for (int outX = 0; outX < outWidth; ++outX) {
      COLORREF colour = pixels[static_cast<size_t>(y * width + outX / scale)];
      row[static_cast<size_t>(outX * 3)] = GetBValue(colour);
      row[static_cast<size_t>(outX * 3 + 1)] = GetGValue(colour);
      row[static_cast<size_t>(outX * 3 + 2)] = GetRValue(colour);
    }
    ok = fwrite(row.data(), row.size(), 1, out) == 1;
  }
  return fclose(out) == 0 && ok;
}

}  // namespace

std::vector<COLORREF> ReadPixels(HDC dc, int x, int y, int width, int height) {
  if (dc == nullptr || width <= 0 || height <= 0) return {};
  PixelBuffer buffer(width, height);
  gdi::MemoryDc memory(dc);
  if (!memory || buffer.bitmap() == nullptr) return {};
  gdi::SelectGuard select(memory.get(), buffer.bitmap());
  if (!BitBlt(memory.get(), 0, 0, width, height, dc, x, y, SRCCOPY)) return {};
  GdiFlush();
  std::vector<COLORREF> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = FromDibPixel(buffer.bits()[i]);
  return pixels;
}

std::wstring SavePixels(const std::vector<COLORREF>& pixels, int width, int height,
                        const std::wstring& fileName, int scale) {
  if (width <= 0 || height <= 0 || scale <= 0 ||
      pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    return {};
  }
  std::wstring path = TestOutputPath(fileName);
  return WriteBmp(path, pixels, width, height, scale) ? path : std::wstring();
}

std::wstring SavePicture(HDC dc, int x, int y, int width, int height, const std::wstring& fileName,
                         int scale) {
  return SavePixels(ReadPixels(dc, x, y, width, height), width, height, fileName, scale);
}

std::wstring SaveWindowPicture(HWND window, const std::wstring& fileName, int scale) {
  RECT bounds{};
  if (!GetWindowRect(window, &bounds)) return {};
  gdi::WindowDc dc(window);
  return SavePicture(dc.get(), 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
                     fileName, scale);
}

std::wstring SaveScreenPicture(const RECT& area, const std::wstring& fileName) {
  const gdi::WindowDc screen(nullptr, gdi::WindowDc::Area::Client);
  return SavePicture(screen.get(), area.left, area.top, area.right - area.left,
                     area.bottom - area.top, fileName);
}

}  // namespace testing_support
