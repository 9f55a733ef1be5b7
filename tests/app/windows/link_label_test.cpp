// The forum link of the main window, driven in-process: its look under the pointer, the hand
// cursor, and the command line a click starts.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/windows/instructions_window.h"
#include "app/windows/main_window.h"
#include "tests/support/command_recording.h"
#include "tests/support/message_pump.h"
#include "tests/support/pictures.h"
#include "win/unique_handle.h"

namespace {

using testing_support::CommandRecording;
using testing_support::WaitUntil;

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr RECT kLinkBox = {96, 128, 96 + 185, 128 + 16};
constexpr POINT kOnLink = {120, 136};
constexpr POINT kOnBareForm = {286, 140};
constexpr POINT kOnCommunityName = {20, 136};

LPARAM At(POINT point) { return MAKELPARAM(point.x, point.y); }

void Pump() { testing_support::PumpMessages(); }

class LinkLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = app::form1::Show();
    ASSERT_NE(form_, nullptr);
    Pump();
  }
  void TearDown() override {
    app::form2::Unload();
    app::form1::Unload();
    Pump();
  }

  void MoveTo(POINT point) {
    SendMessageW(form_, WM_MOUSEMOVE, 0, At(point));
    UpdateWindow(form_);
  }

  // The link's box as it is on the screen now.
  std::vector<COLORREF> LinkPixels() {
    UpdateWindow(form_);
    const win::WindowDc dc(form_, win::WindowDc::Area::Client);
    return testing_support::ReadPixels(dc.get(), kLinkBox.left, kLinkBox.top,
                                       kLinkBox.right - kLinkBox.left,
                                       kLinkBox.bottom - kLinkBox.top);
  }

  // The underline is a row of pure link colour spanning the text from its first to its last
  // column; no glyph of the address has such a row.
  bool LinkUnderlined() {
    const std::vector<COLORREF> pixels = LinkPixels();
    const int width = kLinkBox.right - kLinkBox.left;
    const int height = kLinkBox.bottom - kLinkBox.top;
    int first = width, last = -1;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (pixels[static_cast<size_t>(y * width + x)] == kBlue) {
          first = std::min(first, x);
          last = std::max(last, x);
        }
      }
    }
    if (last - first < 100) {
      ADD_FAILURE() << "the link text is missing or not in the link colour";
      return false;
    }
    for (int y = 0; y < height; ++y) {
      int run = 0;
      for (int x = first; x <= last; ++x)
        run += pixels[static_cast<size_t>(y * width + x)] == kBlue;
      if (run == last - first + 1) return true;
    }
    return false;
  }

  void SaveLink(const std::wstring& name) {
    testing_support::SavePixels(LinkPixels(), kLinkBox.right - kLinkBox.left,
                                kLinkBox.bottom - kLinkBox.top, name, 4);
  }

  HWND form_ = nullptr;
};

TEST_F(LinkLabelTest, HoverRemovesTheUnderlineAndShowsTheHand) {
  EXPECT_TRUE(LinkUnderlined()) << "the link should start underlined";
  SaveLink(L"link-initial.bmp");

  MoveTo(kOnLink);
  EXPECT_FALSE(LinkUnderlined()) << "hovering should remove the underline";
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  SaveLink(L"link-hover.bmp");

  // Over the community name (a label of its own) the link keeps its hover look.
  MoveTo(kOnCommunityName);
  EXPECT_FALSE(LinkUnderlined());

  // Onto the bare form: underlined again, still in the link colour.
  MoveTo(kOnBareForm);
  EXPECT_TRUE(LinkUnderlined()) << "the bare form should restore the underline";

  // From the link straight onto the frame: the form sees no move, so the look stays until the
  // pointer next crosses the bare form.
  MoveTo(kOnLink);
  HWND frame = GetWindow(form_, GW_CHILD);
  SendMessageW(frame, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_FALSE(LinkUnderlined());
  MoveTo(kOnBareForm);
  EXPECT_TRUE(LinkUnderlined());
}

TEST_F(LinkLabelTest, ClickOpensTheForumThroughTheSystemUrlHandler) {
  CommandRecording recording({L"rundll32.exe"});
  ASSERT_TRUE(recording.ready()) << "the command recorder does not stand in; run through ctest";

  // Pressed on the link but released elsewhere: no click.
  SendMessageW(form_, WM_LBUTTONDOWN, MK_LBUTTON, At(kOnLink));
  SendMessageW(form_, WM_LBUTTONUP, 0, At(kOnBareForm));
  // Pressed elsewhere and released on the link: no click either.
  SendMessageW(form_, WM_LBUTTONDOWN, MK_LBUTTON, At(kOnBareForm));
  SendMessageW(form_, WM_LBUTTONUP, 0, At(kOnLink));
  // A click on the link.
  SendMessageW(form_, WM_LBUTTONDOWN, MK_LBUTTON, At(kOnLink));
  SendMessageW(form_, WM_LBUTTONUP, 0, At(kOnLink));

  ASSERT_TRUE(recording.WaitForStart(10000)) << "the click started nothing";
  EXPECT_FALSE(recording.WaitForStart(500)) << "more than one start";
  const std::vector<testing_support::RecordedStart> starts = recording.Starts();
  ASSERT_EQ(starts.size(), 1u);
  const std::wstring system = testing_support::SystemDirectoryForTest();
  EXPECT_EQ(
      starts[0].commandLine,
      L"\"" + system + L"\\rundll32.exe\" url.dll,FileProtocolHandler \"http://bbs.example.com/\"");
  EXPECT_TRUE(starts[0].usesShowWindow);
  EXPECT_EQ(starts[0].showWindow, SW_SHOWNORMAL);
  EXPECT_EQ(starts[0].directory, system);
}

}  // namespace
