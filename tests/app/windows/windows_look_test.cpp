// How the two windows look, driven in-process: the frame caption, the labels the forms draw
// themselves, the instructions picture and text, and the switch between the windows.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/windows/frame_control.h"
#include "app/windows/instructions_window.h"
#include "app/windows/main_window.h"
#include "app/windows/resource_ids.h"
#include "skin/engine/high_contrast.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/message_pump.h"
#include "tests/support/pictures.h"
#include "win/unique_handle.h"

namespace {

using testing_support::ReadPixels;
using testing_support::WaitUntil;

void Pump() { testing_support::PumpMessages(); }

std::vector<COLORREF> ClientPixels(HWND window, const RECT& box) {
  UpdateWindow(window);
  const win::WindowDc dc(window, win::WindowDc::Area::Client);
  return ReadPixels(dc.get(), box.left, box.top, box.right - box.left, box.bottom - box.top);
}

int CountColour(const std::vector<COLORREF>& pixels, COLORREF colour) {
  int count = 0;
  for (COLORREF pixel : pixels) count += pixel == colour;
  return count;
}

// Pixels of magenta hue, also where the text is smoothed against the grey face.
int CountMagentaish(const std::vector<COLORREF>& pixels) {
  int count = 0;
  for (COLORREF pixel : pixels) {
    const int red = GetRValue(pixel), green = GetGValue(pixel), blue = GetBValue(pixel);
    count += red - green > 60 && blue - green > 60 && std::abs(red - blue) < 40;
  }
  return count;
}

// Rows of the box that hold at least one pixel of the colour.
int RowsWithColour(const std::vector<COLORREF>& pixels, int width, COLORREF colour) {
  int rows = 0;
  for (size_t y = 0; y * width < pixels.size(); ++y) {
    for (int x = 0; x < width; ++x) {
      if (pixels[y * width + x] == colour) {
        ++rows;
        break;
      }
    }
  }
  return rows;
}

class WindowsLookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(app::form1::Show(), nullptr);
    Pump();
  }
  void TearDown() override {
    app::form2::Unload();
    app::form1::Unload();
    Pump();
  }

  // Command4, as the user clicks it: the main window goes, the instructions come.
  HWND OpenInstructions() {
    SendMessageW(GetDlgItem(GetWindow(app::form1::Window(), GW_CHILD), IDC_COMMAND4), BM_CLICK, 0,
                 0);
    Pump();
    return app::form2::Window();
  }
};

TEST_F(WindowsLookTest, MainWindowDrawsFrameCaptionAndLabelsInTheirColours) {
  HWND form = app::form1::Window();
  EXPECT_NE(SendMessageW(form, WM_GETICON, ICON_BIG, 0), 0) << "no large icon";
  EXPECT_NE(SendMessageW(form, WM_GETICON, ICON_SMALL, 0), 0) << "no small icon";
  UpdateWindow(form);
  testing_support::SaveWindowPicture(form, L"form1.bmp", 2);

  // The frame caption, magenta, in the top edge of the frame.
  HWND frame = GetWindow(form, GW_CHILD);
  UpdateWindow(frame);
  const std::vector<COLORREF> caption =
      ReadPixels(win::WindowDc(frame, win::WindowDc::Area::Client).get(), 0, 0, 120, 14);
  EXPECT_GT(CountMagentaish(caption), 40) << "no magenta caption";

  // The community name in dark cyan within its box, and nowhere else on the form's bottom line.
  const std::vector<COLORREF> name = ClientPixels(form, {8, 128, 8 + 87, 128 + 16});
  EXPECT_GT(CountColour(name, RGB(0x00, 0x40, 0x40)), 30) << "no community name";
  const std::vector<COLORREF> link = ClientPixels(form, {96, 128, 96 + 185, 128 + 16});
  EXPECT_EQ(CountColour(link, RGB(0x00, 0x40, 0x40)), 0);
  EXPECT_GT(CountColour(link, RGB(0x00, 0x00, 0xFF)), 100) << "no link";
}

// The width x height pixels that `draw` leaves on black.
std::vector<COLORREF> Drawn(int width, int height, const std::function<void(HDC, RECT)>& draw) {
  const win::WindowDc screen(nullptr, win::WindowDc::Area::Client);
  const win::MemoryDc dc(screen.get());
  const win::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  const win::SelectGuard select(dc.get(), bitmap.get());
  const RECT all = {0, 0, width, height};
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  draw(dc.get(), all);
  return ReadPixels(dc.get(), 0, 0, width, height);
}

// The frame's edge is the platform's etched edge at 100 %, and at a whole factor k that edge with
// every pixel a k x k square.
TEST(FrameEdgeTest, EtchedEdgeIsThePlatformsWithEveryPixelRepeated) {
  constexpr int kWidth = 12, kHeight = 9;
  const std::vector<COLORREF> platform =
      Drawn(kWidth, kHeight, [](HDC dc, RECT rect) { DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT); });
  for (const int k : {1, 2, 3}) {
    const std::vector<COLORREF> edge = Drawn(
        kWidth * k, kHeight * k, [k](HDC dc, RECT rect) { app::DrawEtchedEdge(dc, rect, k); });
    int faults = 0;
    for (size_t i = 0; i < edge.size(); ++i) {
      const size_t x = i % (kWidth * k) / k, y = i / (kWidth * k) / k;
      faults += edge[i] != platform[y * kWidth + x];
    }
    EXPECT_EQ(faults, 0) << "at factor " << k;
  }
}

TEST_F(WindowsLookTest, InstructionsShowThePictureAndTheRedParagraph) {
  HWND instructions = OpenInstructions();
  ASSERT_NE(instructions, nullptr);
  EXPECT_EQ(app::form1::Window(), nullptr) << "the main window should be unloaded";
  UpdateWindow(instructions);
  testing_support::SaveWindowPicture(instructions, L"form2.bmp", 2);

  // The picture, unscaled at the top left, pixel for pixel as the resource holds it.
  win::Bitmap picture(
      static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_INSTRUCTIONS),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  ASSERT_TRUE(picture);
  win::MemoryDc source(nullptr);
  std::vector<COLORREF> expected;
  {
    win::SelectGuard select(source.get(), picture.get());
    expected = ReadPixels(source.get(), 0, 0, 335, 228);
  }
  EXPECT_TRUE(ClientPixels(instructions, {0, 0, 335, 228}) == expected)
      << "the picture on the window differs from the resource";

  // The paragraph: red text of several wrapped lines, drawn as the same text in 10.5 point
  // SimSun wraps in a 321 x 73 box.
  const RECT box = {8, 232, 8 + 321, 232 + 73};
  const std::vector<COLORREF> shown = ClientPixels(instructions, box);
  EXPECT_GE(RowsWithColour(shown, 321, RGB(0xFF, 0, 0)), 3 * 8) << "too few lines of red text";

  const std::wstring text =
      L"    如果你是用微软IE的用户，有时候我们乱点乱设置，或者被其他优化软件和恶意软件修改注册表。"
      L"当你打开IE的时候，发现里头的图片无法显示，如上图的样子。懂电脑的人很容易就可以解决了，"
      L"不知道的没有关系，用这个软件帮你解决。";
  win::MemoryDc reference;
  win::Bitmap surface;
  int height = 0;
  {
    const win::WindowDc screen(nullptr, win::WindowDc::Area::Client);
    reference = win::MemoryDc(screen.get());
    surface.reset(CreateCompatibleBitmap(screen.get(), 321, 73));
    // 10.5 points as the height of a line (SimSun has no internal leading).
    height = MulDiv(105, GetDeviceCaps(screen.get(), LOGPIXELSY), 720);
  }
  win::Font font(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0,
                             0, 0, L"宋体"));
  std::vector<COLORREF> drawn;
  {
    win::SelectGuard selectSurface(reference.get(), surface.get());
    win::SelectGuard selectFont(reference.get(), font.get());
    RECT all = {0, 0, 321, 73};
    FillRect(reference.get(), &all, GetSysColorBrush(COLOR_3DFACE));
    SetTextColor(reference.get(), RGB(0xFF, 0, 0));
    SetBkMode(reference.get(), TRANSPARENT);
    DrawTextW(reference.get(), text.c_str(), static_cast<int>(text.size()), &all,
              DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    drawn = ReadPixels(reference.get(), 0, 0, 321, 73);
  }
  testing_support::SavePixels(drawn, 321, 73, L"form2-label-reference.bmp", 2);
  EXPECT_TRUE(shown == drawn) << "the paragraph differs from the reference drawing";
}

TEST_F(WindowsLookTest, SwitchingWindowsLeavesNoGdiObjectsBehind) {
  // One round first, so that caches of the system (icons, fonts) are filled.
  ASSERT_NE(OpenInstructions(), nullptr);
  SendMessageW(app::form2::Window(), WM_CLOSE, 0, 0);
  Pump();
  EXPECT_GDI_OBJECTS_UNCHANGED({
    for (int round = 0; round < 3; ++round) {
      HWND instructions = OpenInstructions();
      ASSERT_NE(instructions, nullptr);
      UpdateWindow(instructions);
      SendMessageW(instructions, WM_CLOSE, 0, 0);
      Pump();
      ASSERT_NE(app::form1::Window(), nullptr);
      UpdateWindow(app::form1::Window());
    }
  });
}

// Closing the instructions brings back the window that the latest Show named, and nothing where it
// named none: the instructions are shown twice, the second time while loaded, then closed.
TEST_F(WindowsLookTest, ClosingTheInstructionsBringsBackTheOpenerOfTheLatestShow) {
  app::form1::Unload();
  Pump();
  struct Case {
    const char* name;
    app::form2::ShowOpener first;
    app::form2::ShowOpener second;
    bool mainWindowBack;
  };
  const Case cases[] = {
      {"on their own", nullptr, nullptr, false},
      {"then by the main window", nullptr, app::form1::Show, true},
      {"by the main window, then on their own", app::form1::Show, nullptr, false},
  };
  for (const Case& c : cases) {
    ASSERT_NE(app::form2::Show(c.first), nullptr) << c.name;
    HWND instructions = app::form2::Show(c.second);
    ASSERT_NE(instructions, nullptr) << c.name;
    SendMessageW(instructions, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(app::form2::Window(), nullptr) << c.name;
    EXPECT_EQ(app::form1::Window() != nullptr, c.mainWindowBack) << c.name;
    app::form1::Unload();
    Pump();
  }
}

}  // namespace

namespace {

// A black high-contrast scheme: white text on black, yellow links. The system's colours before
// come back when the scheme ends, and so does the platform's high-contrast query.
class BlackScheme {
 public:
  static constexpr int kElements[] = {COLOR_3DFACE, COLOR_BTNTEXT, COLOR_WINDOWTEXT,
                                      COLOR_HOTLIGHT};
  static constexpr COLORREF kText = RGB(0xFF, 0xFF, 0xFF);
  static constexpr COLORREF kLink = RGB(0xFF, 0xFF, 0x00);

  BlackScheme() {
    for (size_t i = 0; i < std::size(kElements); ++i) before_[i] = GetSysColor(kElements[i]);
    const COLORREF scheme[] = {RGB(0, 0, 0), kText, kText, kLink};
    SetSysColors(static_cast<int>(std::size(kElements)), kElements, scheme);
    skin::SetHighContrastQueryForTesting([] { return true; });
  }
  ~BlackScheme() {
    skin::SetHighContrastQueryForTesting(nullptr);
    SetSysColors(static_cast<int>(std::size(kElements)), kElements, before_);
  }
  BlackScheme(const BlackScheme&) = delete;
  BlackScheme& operator=(const BlackScheme&) = delete;

 private:
  COLORREF before_[std::size(kElements)] = {};
};

// In the scheme, the texts the windows paint themselves take its colours instead of their own.
TEST(HighContrastTextTest, PaintedTextsLinkAndFrameCaptionTakeTheSchemesColours) {
  const BlackScheme scheme;
  HWND form = app::form1::Show();
  ASSERT_NE(form, nullptr);
  Pump();
  HWND frame = GetWindow(form, GW_CHILD);
  UpdateWindow(frame);
  const std::vector<COLORREF> caption =
      ReadPixels(win::WindowDc(frame, win::WindowDc::Area::Client).get(), 0, 0, 120, 14);
  EXPECT_GT(CountColour(caption, BlackScheme::kText), 20) << "frame caption";
  EXPECT_EQ(CountMagentaish(caption), 0);
  const std::vector<COLORREF> name = ClientPixels(form, {8, 128, 8 + 87, 128 + 16});
  EXPECT_GT(CountColour(name, BlackScheme::kText), 30) << "community name";
  EXPECT_EQ(CountColour(name, RGB(0x00, 0x40, 0x40)), 0);
  const std::vector<COLORREF> link = ClientPixels(form, {96, 128, 96 + 185, 128 + 16});
  EXPECT_GT(CountColour(link, BlackScheme::kLink), 100) << "link";
  EXPECT_EQ(CountColour(link, RGB(0x00, 0x00, 0xFF)), 0);
  testing_support::SaveWindowPicture(form, L"form1-high-contrast.bmp", 2);
  app::form1::Unload();

  HWND instructions = app::form2::Show();
  ASSERT_NE(instructions, nullptr);
  Pump();
  const std::vector<COLORREF> paragraph = ClientPixels(instructions, {8, 232, 8 + 321, 232 + 73});
  EXPECT_GT(CountColour(paragraph, BlackScheme::kText), 150) << "paragraph";
  EXPECT_EQ(CountColour(paragraph, RGB(0xFF, 0x00, 0x00)), 0);
  app::form2::Unload();
  Pump();
}

}  // namespace
