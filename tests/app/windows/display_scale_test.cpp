// Both windows at display scales other than 100 %: every position and size is its twips at the
// DPI, captions fit their boxes in fonts of that DPI, and a change of DPI while the program runs
// lays the windows out again without leaking. End to end, the program starts at the system DPI
// of the test prefix; in-process, the windows get WM_DPICHANGED as the system sends it.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/windows/instructions_window.h"
#include "app/windows/main_window.h"
#include "app/windows/painted_picture.h"
#include "app/windows/resource_ids.h"
#include "skin/graphics/sprite_layout.h"
#include "tests/app/windows/program_icon.h"
#include "tests/support/display_scale.h"
#include "tests/support/form1_access.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/message_pump.h"
#include "tests/support/pictures.h"
#include "tests/support/running_program.h"
#include "tests/support/skin_test_pixels.h"
#include "tests/support/window_pixels.h"
#include "win/dpi.h"
#include "win/unique_handle.h"

namespace {

using icon_tests::ExpectIconsAt;
using testing_support::ReadPixels;
using testing_support::RectInParent;
using testing_support::RunningProgram;
using testing_support::WaitUntil;

// Left, top, width, height in twips, as the windows are designed.
struct Twips {
  int left, top, width, height;
};

RECT PixelsAt(const Twips& box, int dpi) {
  const int left = win::TwipsToPixels(box.left, dpi), top = win::TwipsToPixels(box.top, dpi);
  return {left, top, left + win::TwipsToPixels(box.width, dpi),
          top + win::TwipsToPixels(box.height, dpi)};
}

// A font as the windows are designed: a cell height for the labels, a character height for the
// commands' 9 point SimSun.
struct FontDesign {
  const wchar_t* face;
  int tenthsOfPoint;
  int weight;
  bool underline;
  bool characterHeight;
};

win::Font FontAt(const FontDesign& font, int dpi) {
  const int height = win::TenthsOfPointToPixels(font.tenthsOfPoint, dpi);
  return win::Font(CreateFontW(font.characterHeight ? -height : height, 0, 0, 0, font.weight, FALSE,
                               font.underline, FALSE, GB2312_CHARSET, 0, 0, 0, 0, font.face));
}

// A caption in its box: a button's (id), or a label's that the form draws (id 0).
struct Caption {
  int id;
  const wchar_t* text;
  Twips box;
  FontDesign font;
  COLORREF colour;
  int lines;
};

constexpr FontDesign kCommandFont = {L"宋体", 90, FW_NORMAL, false, true};
constexpr FontDesign kLinkFont = {L"宋体", 120, FW_NORMAL, true, false};
constexpr FontDesign kSimHei12 = {L"黑体", 120, FW_BOLD, false, false};
constexpr Caption kCaptions[] = {
    {IDC_COMMAND2, L"显示内嵌图片", {120, 240, 3855, 375}, kCommandFont, 0, 1},
    {IDC_COMMAND3, L"关闭内嵌图片", {120, 720, 3855, 375}, kCommandFont, 0, 1},
    {IDC_COMMAND1, L"刷新后马上生效", {120, 1200, 1815, 375}, kCommandFont, 0, 1},
    {IDC_COMMAND4, L"说明", {2040, 1200, 1935, 375}, kCommandFont, 0, 1},
    {0, L"Quenlit", {120, 1920, 1305, 240}, kSimHei12, RGB(0, 0x40, 0x40), 1},
    {0, L"http://bbs.example.com", {1440, 1920, 2775, 240}, kLinkFont, RGB(0, 0, 0xFF), 1},
};
const Caption& kLink = kCaptions[5];
const Caption kParagraph = {0,
                            app::form2::kLabel1Text.data(),
                            {120, 3480, 4815, 1095},
                            {L"宋体", 105, FW_NORMAL, false, false},
                            RGB(0xFF, 0, 0),
                            5};
constexpr Twips kForm1Client = {0, 0, 4350, 2295};
constexpr Twips kFrame = {120, 120, 4095, 1695};
constexpr Twips kForm2Client = {0, 0, 5055, 4680};
constexpr Twips kPicture = {0, 0, 5025, 3420};

UINT TextFormat(const Caption& caption) {
  return caption.id != 0 ? DT_SINGLELINE | DT_CENTER | DT_VCENTER
                         : DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
}

void ExpectRect(const RECT& actual, const RECT& expected, const std::string& what) {
  EXPECT_NEAR(actual.left, expected.left, 1) << what;
  EXPECT_NEAR(actual.top, expected.top, 1) << what;
  EXPECT_NEAR(actual.right, expected.right, 1) << what;
  EXPECT_NEAR(actual.bottom, expected.bottom, 1) << what;
}

RECT ClientRect(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client;
}

// The client area, the frame and the four buttons: works on the windows of another process too.
void ExpectForm1Layout(HWND form, int dpi) {
  ExpectRect(ClientRect(form), PixelsAt(kForm1Client, dpi), "client area");
  HWND frame = GetDlgItem(form, IDC_FRAME2);
  ExpectRect(RectInParent(frame), PixelsAt(kFrame, dpi), "frame");
  for (const Caption& caption : kCaptions) {
    if (caption.id == 0) continue;
    ExpectRect(RectInParent(GetDlgItem(frame, caption.id)), PixelsAt(caption.box, dpi),
               "button " + std::to_string(caption.id));
  }
}

// The caption's extent in the font, laid out in a box of the given width as the program does.
SIZE TextExtent(HFONT font, const Caption& caption, const wchar_t* text, int width) {
  const win::MemoryDc dc(nullptr);
  const win::SelectGuard select(dc.get(), font);
  RECT rect = {0, 0, width, 0};
  DrawTextW(dc.get(), text, -1, &rect, TextFormat(caption) | DT_CALCRECT);
  return {rect.right, rect.bottom};
}

// In the font, the caption takes its number of lines and fits its box; a button keeps a margin
// of 2 pixels (at 96 DPI) on every side for its face's edge.
void ExpectCaptionFits(HFONT font, const Caption& caption, int dpi) {
  const RECT box = PixelsAt(caption.box, dpi);
  const int margin = caption.id != 0 ? 2 * win::TwipsToPixels(30, dpi) : 0;
  const int width = box.right - box.left - margin;
  const SIZE extent = TextExtent(font, caption, caption.text, width);
  EXPECT_LE(extent.cx, width) << "cut: " << caption.text;
  EXPECT_LE(extent.cy, box.bottom - box.top - margin) << "cut: " << caption.text;
  EXPECT_EQ(extent.cy, caption.lines * TextExtent(font, caption, L"如", width).cy)
      << "lines of " << caption.text;
}

// The size of the ink in a block of pixels, from its first to its last column and row.
SIZE InkSize(const std::vector<COLORREF>& pixels, int width, const Caption& caption) {
  // A button's caption is the skin's black on a light face; a label's is in its own colour.
  const auto ink = [&](COLORREF pixel) {
    if (caption.id == 0) return pixel == caption.colour;
    return GetRValue(pixel) < 0x60 && GetGValue(pixel) < 0x60 && GetBValue(pixel) < 0x60;
  };
  RECT bounds = {width, LONG_MAX, -1, -1};
  for (size_t i = 0; i < pixels.size(); ++i) {
    if (!ink(pixels[i])) continue;
    const LONG x = static_cast<LONG>(i % width), y = static_cast<LONG>(i / width);
    bounds = {std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x),
              std::max(bounds.bottom, y)};
  }
  if (bounds.right < 0) return {};
  return {bounds.right - bounds.left + 1, bounds.bottom - bounds.top + 1};
}

// The caption drawn here in the font and colour, as the program draws it, on the form's face in a
// block of width x height pixels.
std::vector<COLORREF> Reference(const Caption& caption, HFONT font, int width, int height) {
  const win::WindowDc screen(nullptr, win::WindowDc::Area::Client);
  const win::MemoryDc dc(screen.get());
  const win::Bitmap surface(CreateCompatibleBitmap(screen.get(), width, height));
  const win::SelectGuard selectSurface(dc.get(), surface.get());
  const win::SelectGuard selectFont(dc.get(), font);
  RECT all = {0, 0, width, height};
  FillRect(dc.get(), &all, GetSysColorBrush(COLOR_3DFACE));
  SetTextColor(dc.get(), caption.colour);
  SetBkMode(dc.get(), TRANSPARENT);
  DrawTextW(dc.get(), caption.text, -1, &all, TextFormat(caption));
  return ReadPixels(dc.get(), 0, 0, width, height);
}

// Pixels of a block of the window's client area as the screen shows them.
std::vector<COLORREF> ScreenPixels(HWND window, RECT block) {
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&block), 2);
  const win::WindowDc screen(nullptr, win::WindowDc::Area::Client);
  return ReadPixels(screen.get(), block.left, block.top, block.right - block.left,
                    block.bottom - block.top);
}

// The caption fits its box in the design's font at the DPI, and the window shows all of it in
// such a font: its ink covers as much as that of the same text drawn here. A button's caption is
// looked for clear of the button's edges and focus box.
void ExpectCaptionWhole(HWND form, const Caption& caption, int dpi) {
  SCOPED_TRACE(testing::Message() << "caption " << std::wstring(caption.text).substr(0, 16));
  const win::Font font = FontAt(caption.font, dpi);
  ExpectCaptionFits(font.get(), caption, dpi);
  RECT box = PixelsAt(caption.box, dpi);
  HWND window = form;
  if (caption.id != 0) {
    window = GetDlgItem(GetDlgItem(form, IDC_FRAME2), caption.id);
    const int side = win::TwipsToPixels(90, dpi), edge = win::TwipsToPixels(60, dpi);
    box = {side, edge, box.right - box.left - side, box.bottom - box.top - edge};
  }
  const int width = box.right - box.left;
  const SIZE expected =
      InkSize(Reference(caption, font.get(), width, box.bottom - box.top), width, caption);
  SIZE shown{};
  const auto matches = [&] {
    shown = InkSize(ScreenPixels(window, box), width, caption);
    return std::abs(shown.cx - expected.cx) <= 1 && std::abs(shown.cy - expected.cy) <= 1;
  };
  EXPECT_TRUE(WaitUntil(matches, 3000))
      << "cut, ellipsis or a font of another size: ink " << shown.cx << " x " << shown.cy
      << ", drawn here " << expected.cx << " x " << expected.cy;
}

// The corner cells of every push button, as the screen shows them, are those of the sprite's
// normal face with every pixel a k x k square at the DPI's sprite factor. Pixels outside a
// button's window region show what lies behind it, and the button that holds the focus has the
// corner of its focus box in the inner square of each corner: neither is looked at. The pointer
// stays off the buttons, so each shows its normal face once any fade has run.
void ExpectButtonCornersOnScreen(HWND form, int dpi) {
  const int k = skin::SpriteFactorForDpi(dpi);
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  GUITHREADINFO focus{};
  focus.cbSize = sizeof focus;
  GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &focus);
  for (const Caption& caption : kCaptions) {
    if (caption.id == 0) continue;
    HWND button = GetDlgItem(GetDlgItem(form, IDC_FRAME2), caption.id);
    const SIZE size = testing_support::WindowSize(button);
    const win::Region region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(button, region.get()), ERROR) << "button " << caption.id;
    const auto skip = [&](int x, int y) {
      return !PtInRegion(region.get(), x, y) ||
             (button == focus.hwndFocus && testing_support::InFocusBoxCorner(size, k, x, y));
    };
    int faults = -1;
    const auto matches = [&] {
      faults = testing_support::SpriteCornerFaults(ScreenPixels(button, {0, 0, size.cx, size.cy}),
                                                   size, 0, k, skip);
      return faults == 0;
    };
    EXPECT_TRUE(WaitUntil(matches, 3000))
        << faults << " corner pixels of button " << caption.id << " are not the sprite's";
  }
}

std::wstring PictureName(const wchar_t* window, int dpi) {
  return std::wstring(window) + L"-at-" + std::to_wstring(dpi) + L".bmp";
}

TEST(DisplayScale, BothWindowsAreLaidOutFromTheirTwipsAtTheSystemDpi) {
  for (const int dpi : {120, 144, 192}) {
    testing_support::RunProgramAtDpi(dpi, [dpi](RunningProgram& program, HWND form) {
      ExpectForm1Layout(form, dpi);
      for (const Caption& caption : kCaptions) ExpectCaptionWhole(form, caption, dpi);
      ExpectButtonCornersOnScreen(form, dpi);
      RECT rect{};
      GetWindowRect(form, &rect);
      testing_support::SaveScreenPicture(rect, PictureName(L"main-window", dpi));

      PostMessageW(GetDlgItem(GetDlgItem(form, IDC_FRAME2), IDC_COMMAND4), BM_CLICK, 0, 0);
      HWND instructions = program.WaitForWindow(L"使用说明");
      ASSERT_NE(instructions, nullptr) << "the instructions window did not appear";
      ExpectRect(ClientRect(instructions), PixelsAt(kForm2Client, dpi), "instructions");
      ExpectCaptionWhole(instructions, kParagraph, dpi);
      GetWindowRect(instructions, &rect);
      testing_support::SaveScreenPicture(rect, PictureName(L"instructions-window", dpi));
    });
  }
}

// A change to the DPI as the system sends it: the window stays where the system suggests.
void ChangeDpi(HWND window, int dpi) {
  const RECT suggested = testing_support::SendDpiChange(window, dpi);
  RECT now{};
  GetWindowRect(window, &now);
  EXPECT_EQ(now.left, suggested.left);
  EXPECT_EQ(now.top, suggested.top);
}

constexpr int kDpiSteps[] = {192, 144, 96};

TEST(DisplayScale, MainWindowFollowsDpiChangesWithItsFontsFacesAndLinkAndLeaksNothing) {
  const testing_support::LoadedForm1 loaded;
  HWND form = loaded.windows().form;
  testing_support::PumpMessages();
  // The window's DC and the system's cursors are made on first use and kept.
  testing_support::SaveWindowPicture(form, L"main-window-before-changes.bmp");
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW), hand = LoadCursorW(nullptr, IDC_HAND);
  EXPECT_GDI_OBJECTS_UNCHANGED({
    for (const int dpi : kDpiSteps) {
      SCOPED_TRACE(testing::Message() << dpi << " DPI");
      ChangeDpi(form, dpi);
      ExpectForm1Layout(form, dpi);
      ExpectIconsAt(form, dpi);
      for (const Caption& caption : kCaptions) {
        if (caption.id == 0) continue;
        HWND button = GetDlgItem(loaded.windows().frame, caption.id);
        ExpectCaptionFits(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)), caption,
                          dpi);
        testing_support::ExpectFacesRenderedAt(button, skin::SpriteFactorForDpi(dpi));
      }
      // The link's hit area ends where its box ends.
      const RECT link = PixelsAt(kLink.box, dpi);
      SetCursor(arrow);
      SendMessageW(form, WM_MOUSEMOVE, 0, MAKELPARAM(link.right - 1, link.bottom - 1));
      EXPECT_EQ(GetCursor(), hand) << "inside the link";
      SetCursor(arrow);
      SendMessageW(form, WM_MOUSEMOVE, 0, MAKELPARAM(link.right + 1, link.bottom - 1));
      EXPECT_EQ(GetCursor(), arrow) << "beside the link";
      if (dpi == 192) {
        UpdateWindow(form);
        testing_support::SaveWindowPicture(form, L"main-window-changed-to-192.bmp");
      }
    }
  });
}

TEST(DisplayScale, InstructionsFollowDpiChangesWithThePictureRepeatedAtAWholeFactor) {
  const SIZE picture = {335, 228};
  EXPECT_EQ(app::StretchModeFor(picture, {1005, 684}), COLORONCOLOR);
  EXPECT_EQ(app::StretchModeFor(picture, {502, 342}), HALFTONE);
  EXPECT_EQ(app::StretchModeFor(picture, {670, 228}), HALFTONE);

  HWND instructions = app::form2::Show();
  ASSERT_NE(instructions, nullptr);
  testing_support::PumpMessages();
  testing_support::SaveWindowPicture(instructions, L"instructions-before-changes.bmp");
  const win::Bitmap resource(
      static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_INSTRUCTIONS),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  std::vector<COLORREF> original;
  {
    const win::MemoryDc dc(nullptr);
    const win::SelectGuard select(dc.get(), resource.get());
    original = ReadPixels(dc.get(), 0, 0, picture.cx, picture.cy);
  }
  EXPECT_GDI_OBJECTS_UNCHANGED({
    for (const int dpi : kDpiSteps) {
      SCOPED_TRACE(testing::Message() << dpi << " DPI");
      ChangeDpi(instructions, dpi);
      ExpectRect(ClientRect(instructions), PixelsAt(kForm2Client, dpi), "client area");
      ExpectIconsAt(instructions, dpi);
      if (dpi != 192) continue;
      UpdateWindow(instructions);
      testing_support::SaveWindowPicture(instructions, L"instructions-changed-to-192.bmp");
      const RECT box = PixelsAt(kPicture, dpi);
      const win::WindowDc dc(instructions, win::WindowDc::Area::Client);
      const std::vector<COLORREF> shown = ReadPixels(dc.get(), 0, 0, box.right, box.bottom);
      int differing = 0;
      for (size_t i = 0; i < shown.size(); ++i) {
        differing += shown[i] != original[(i / box.right / 2) * picture.cx + i % box.right / 2];
      }
      EXPECT_EQ(differing, 0) << "pixels that are not the picture's pixel doubled";
    }
  });
  app::form2::Unload();
}

}  // namespace
