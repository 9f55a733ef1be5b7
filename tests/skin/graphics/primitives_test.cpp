#include "skin/graphics/primitives.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/surface.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/pictures.h"
#include "tests/support/window_class.h"

namespace {

using testing_support::ReadPixels;

constexpr COLORREF kBackdrop = 0x123456;
constexpr COLORREF kPaint = 0x00AA00;

skin::Surface Filled(int width, int height, COLORREF colour) {
  skin::Surface surface(width, height);
  skin::FillSolid(surface.get(), 0, 0, width, height, colour);
  return surface;
}

TEST(WordHalves, KeepTheirSign) {
  EXPECT_EQ(skin::LowWord(static_cast<LONG_PTR>(0xFFFF0005u)), 5);
  EXPECT_EQ(skin::HighWord(static_cast<LONG_PTR>(0xFFFF0005u)), -1);
  EXPECT_EQ(skin::LowWord(static_cast<LONG_PTR>(0x0000FFFBu)), -5);
  EXPECT_EQ(skin::HighWord(static_cast<LONG_PTR>(0x0000FFFBu)), 0);
  // A packed point left of and above a window.
  LPARAM point = MAKELPARAM(-3, -20);
  EXPECT_EQ(skin::LowWord(point), -3);
  EXPECT_EQ(skin::HighWord(point), -20);
}

TEST(SolidShapes, FillAndFrameExactlyTheirRectangle) {
  skin::Surface surface = Filled(10, 8, kBackdrop);
  EXPECT_GDI_OBJECTS_UNCHANGED({
    EXPECT_NE(skin::FillSolid(surface.get(), 1, 1, 3, 2, kPaint), 0);
    EXPECT_NE(skin::FrameSolid(surface.get(), 5, 2, 4, 5, kPaint), 0);
  });
  std::vector<COLORREF> pixels = ReadPixels(surface.get(), 0, 0, 10, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      bool filled = x >= 1 && x < 4 && y >= 1 && y < 3;
      bool framed = x >= 5 && x < 9 && y >= 2 && y < 7 && (x == 5 || x == 8 || y == 2 || y == 6);
      EXPECT_EQ(pixels[static_cast<size_t>(y * 10 + x)], filled || framed ? kPaint : kBackdrop)
          << x << ", " << y;
    }
  }
}

TEST(SolidShapes, ZeroWidthOrHeightDrawsNothing) {
  skin::Surface surface = Filled(8, 8, kBackdrop);
  const std::vector<COLORREF> before = ReadPixels(surface.get(), 0, 0, 8, 8);
  EXPECT_GDI_OBJECTS_UNCHANGED({
    skin::FillSolid(surface.get(), 2, 2, 0, 4, kPaint);
    skin::FillSolid(surface.get(), 2, 2, 4, 0, kPaint);
    skin::FrameSolid(surface.get(), 2, 2, 0, 4, kPaint);
    skin::FrameSolid(surface.get(), 2, 2, 4, 0, kPaint);
    skin::DrawFocusBox(surface.get(), 2, 2, 0, 4);
    skin::DrawFocusBox(surface.get(), 2, 2, 4, 0);
  });
  EXPECT_EQ(ReadPixels(surface.get(), 0, 0, 8, 8), before);
}

TEST(SolidShapes, FocusBoxDrawnTwiceIsGone) {
  skin::Surface surface = Filled(12, 10, kBackdrop);
  const std::vector<COLORREF> before = ReadPixels(surface.get(), 0, 0, 12, 10);
  EXPECT_NE(skin::DrawFocusBox(surface.get(), 1, 1, 10, 8), 0);
  EXPECT_NE(ReadPixels(surface.get(), 0, 0, 12, 10), before);
  skin::DrawFocusBox(surface.get(), 1, 1, 10, 8);
  EXPECT_EQ(ReadPixels(surface.get(), 0, 0, 12, 10), before);
}

// A top-level test window. Its non-client border is what WM_NCCALCSIZE says: the insets in the
// window's user data (left, top, right, bottom, one byte each), or the default frame when 0.
LRESULT CALLBACK InsetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LONG_PTR insets = GetWindowLongPtrW(window, GWLP_USERDATA);
  if (message == WM_NCCALCSIZE && insets != 0) {
    RECT* rect = &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
    rect->left += static_cast<LONG>(insets & 0xFF);
    rect->top += static_cast<LONG>((insets >> 8) & 0xFF);
    rect->right -= static_cast<LONG>((insets >> 16) & 0xFF);
    rect->bottom -= static_cast<LONG>((insets >> 24) & 0xFF);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class TestWindow {
 public:
  TestWindow(DWORD style, int left, int top, int right, int bottom, const wchar_t* text = L"") {
    window_ = CreateWindowExW(
        0, testing_support::TestWindowClass(L"GraphicsTestWindow", InsetWindowProc), text,
        WS_POPUP | style, 30, 40, 120, 90, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    LONG_PTR insets = left | (top << 8) | (right << 16) | (static_cast<LONG_PTR>(bottom) << 24);
    SetWindowLongPtrW(window_, GWLP_USERDATA, insets);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  ~TestWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

// Half of the border's width and of its height, each rounded to even, leaving out a scroll bar.
TEST(BorderInsets, AreHalfTheBorderRoundedToEvenWithoutTheScrollBars) {
  const int scrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  struct Case {
    DWORD style;
    int left, top, right, bottom;
    int insetX, insetY;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0, 0, 0},  // no border (the default frame of a plain popup)
      {0, 1, 0, 1, 0, 1, 0},  // 2 wider: 1
      {0, 1, 1, 2, 2, 2, 2},  // 3 wider: 1.5 goes to 2
      {0, 2, 2, 3, 3, 2, 2},  // 5 wider: 2.5 goes to 2
      {0, 1, 0, 0, 3, 0, 2},  // 1 wider: 0.5 goes to 0; 3 higher: 2
      {0, 3, 4, 4, 3, 4, 4},  // 7: 3.5 goes to 4
      // The platform's own thin border and a vertical scroll bar.
      {WS_BORDER | WS_VSCROLL, 0, 0, 0, 0, 1, 1},
      // A border of 2 all round and a horizontal scroll bar below it.
      {WS_HSCROLL, 2, 2, 2, 2 + scrollHeight, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << std::hex << c.style << std::dec << ", border "
                                    << c.left << " " << c.top << " " << c.right << " " << c.bottom);
    TestWindow window(c.style, c.left, c.top, c.right, c.bottom);
    int insetX = -1;
    int insetY = -1;
    EXPECT_EQ(skin::GetBorderInsets(window.get(), insetX, insetY), 1);
    EXPECT_EQ(insetX, c.insetX);
    EXPECT_EQ(insetY, c.insetY);
  }
}

TEST(WindowBounds, HoldTheScreenRectangleAndItsSize) {
  TestWindow window(0, 1, 1, 1, 1);
  SetWindowPos(window.get(), nullptr, -15, 25, 70, 33, SWP_NOZORDER | SWP_NOACTIVATE);
  skin::WindowBounds bounds{};
  EXPECT_NE(skin::GetWindowBounds(window.get(), bounds), 0);
  EXPECT_EQ(bounds.left, -15);
  EXPECT_EQ(bounds.top, 25);
  EXPECT_EQ(bounds.right, 55);
  EXPECT_EQ(bounds.bottom, 58);
  EXPECT_EQ(bounds.width, 70);
  EXPECT_EQ(bounds.height, 33);
}

TEST(WindowCaption, ComesBackWhole) {
  TestWindow empty(0, 0, 0, 0, 0);
  EXPECT_EQ(skin::GetWindowCaption(empty.get()), L"");

  // "Show pictures" - characters outside any single-byte code page.
  const std::wstring chinese = L"\u663E\u793A\u56FE\u7247 (&Y)";
  TestWindow titled(0, 0, 0, 0, 0, chinese.c_str());
  EXPECT_EQ(skin::GetWindowCaption(titled.get()), chinese);
  EXPECT_EQ(skin::GetWindowCaption(nullptr), L"");
}

TEST(TextBox, DrawsChineseTextNotQuestionMarks) {
  constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  LOGFONTW logFont{};
  logFont.lfHeight = -12;
  logFont.lfCharSet = GB2312_CHARSET;
  wcscpy(logFont.lfFaceName, L"SimSun");
  const gdi::Font font(CreateFontIndirectW(&logFont));

  auto render = [&font](const std::wstring& text, int* result) {
    skin::Surface surface = Filled(80, 20, 0xFFFFFF);
    const gdi::SelectGuard select(surface.get(), font.get());
    SetBkMode(surface.get(), TRANSPARENT);
    *result = skin::DrawTextBox(surface.get(), text, 0, 0, 80, 20, kCentred);
    return ReadPixels(surface.get(), 0, 0, 80, 20);
  };
  int chineseResult = 0;
  int marksResult = 0;
  int blankResult = 0;
  std::vector<COLORREF> chinese = render(L"\u663E\u793A\u56FE\u7247", &chineseResult);
  std::vector<COLORREF> marks = render(L"????", &marksResult);
  std::vector<COLORREF> blank = render(L"", &blankResult);

  EXPECT_GT(chineseResult, 0);  // the height of the text
  EXPECT_NE(chinese, blank);
  EXPECT_NE(chinese, marks);
}

}  // namespace
