// The forum link of the main window, driven in-process: its look under the pointer, the hand
// cursor, the command line a click starts, and, elevated, the desktop's shell in its place or a
// box that says why nothing opened.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/system/forum_link.h"
#include "app/windows/instructions_window.h"
#include "app/windows/main_window.h"
#include "tests/support/command_recording.h"
#include "tests/support/message_box_watch.h"
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

// The text of the box a call opened over `owner`, answered OK; empty when none opened.
template <typename Call>
std::wstring BoxTextOf(HWND owner, Call call) {
  return testing_support::ReadMessageBoxOf(owner, call).text;
}

// The stand-in for the desktop's shell: what it was asked, and what it answers.
struct ShellOpen {
  std::wstring target;
  int showCommand;
};
std::vector<ShellOpen> shellOpens;
HRESULT shellAnswer = S_OK;
// A window clicked on the link once more while the shell is asked, as messages arrive meanwhile.
HWND clickedAgainInside = nullptr;
HRESULT OpenThroughStandInShell(const std::wstring& target, int showCommand) {
  shellOpens.push_back({target, showCommand});
  if (HWND form = std::exchange(clickedAgainInside, nullptr)) {
    SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, At(kOnLink));
    SendMessageW(form, WM_LBUTTONUP, 0, At(kOnLink));
  }
  return shellAnswer;
}

// The stand-in for ShellExecuteEx: what it was asked, whether the window took input meanwhile,
// and what it answers. `closedInside`, when set, gets a close request during the call, dispatched
// as the call's own waits would dispatch it.
struct Execution {
  ULONG mask;
  HWND window;
  std::wstring verb, file;
  bool hasParameters;
  int show;
  bool windowEnabled;
};
std::vector<Execution> executions;
BOOL executeAnswer = TRUE;
HWND closedInside = nullptr;
BOOL WINAPI StandInShellExecute(SHELLEXECUTEINFOW* info) {
  executions.push_back({info->fMask, info->hwnd, info->lpVerb != nullptr ? info->lpVerb : L"",
                        info->lpFile != nullptr ? info->lpFile : L"", info->lpParameters != nullptr,
                        info->nShow, IsWindowEnabled(info->hwnd) != FALSE});
  if (HWND form = std::exchange(closedInside, nullptr)) {
    PostMessageW(form, WM_CLOSE, 0, 0);
    testing_support::PumpMessages();
  }
  return executeAnswer;
}

void Pump() { testing_support::PumpMessages(); }

bool Elevated() { return true; }
bool NotElevated() { return false; }

// Wine reports its processes as elevated: each test says which way it takes.
class LinkLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousSeams_ =
        app::SetForumLinkSeamsForTesting({.elevated = NotElevated,
                                          .openThroughDesktopShell = OpenThroughStandInShell,
                                          .shellExecute = StandInShellExecute});
    shellOpens.clear();
    executions.clear();
    executeAnswer = TRUE;
    form_ = app::form1::Show();
    ASSERT_NE(form_, nullptr);
    Pump();
  }
  void TearDown() override {
    app::form2::Unload();
    app::form1::Unload();
    Pump();
    app::SetForumLinkSeamsForTesting(previousSeams_);
  }

  void Click(POINT point) {
    SendMessageW(form_, WM_LBUTTONDOWN, MK_LBUTTON, At(point));
    SendMessageW(form_, WM_LBUTTONUP, 0, At(point));
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
  app::ForumLinkSeams previousSeams_;
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

// Not elevated, the address goes to ShellExecuteEx as Windows opens links, with the window
// disabled during the call; no rundll32 is started.
TEST_F(LinkLabelTest, ClickOpensTheForumAsWindowsOpensLinks) {
  CommandRecording recording({L"rundll32.exe"});
  ASSERT_TRUE(recording.ready()) << "the command recorder does not stand in; run through ctest";

  // Pressed on the link but released elsewhere: no click.
  SendMessageW(form_, WM_LBUTTONDOWN, MK_LBUTTON, At(kOnLink));
  SendMessageW(form_, WM_LBUTTONUP, 0, At(kOnBareForm));
  // Pressed elsewhere and released on the link: no click either.
  SendMessageW(form_, WM_LBUTTONDOWN, MK_LBUTTON, At(kOnBareForm));
  SendMessageW(form_, WM_LBUTTONUP, 0, At(kOnLink));
  EXPECT_TRUE(executions.empty());
  // A click on the link.
  EXPECT_EQ(BoxTextOf(form_, [&] { Click(kOnLink); }), L"") << "a box, though the link opened";

  ASSERT_EQ(executions.size(), 1u);
  EXPECT_EQ(executions[0].file, L"http://bbs.example.com/");
  EXPECT_EQ(executions[0].verb, L"open");
  EXPECT_FALSE(executions[0].hasParameters);
  EXPECT_EQ(executions[0].show, SW_SHOWNORMAL);
  EXPECT_EQ(executions[0].window, form_);
  EXPECT_NE(executions[0].mask & SEE_MASK_FLAG_NO_UI, 0u) << "the program's own box tells";
  EXPECT_FALSE(executions[0].windowEnabled) << "the window took input during the call";
  EXPECT_TRUE(IsWindowEnabled(form_));
  EXPECT_TRUE(shellOpens.empty()) << "not elevated, the desktop's shell is not asked";
  EXPECT_TRUE(recording.Starts().empty()) << "rundll32 was started";

  // Where nothing opened, a box says what to do.
  executeAnswer = FALSE;
  EXPECT_EQ(BoxTextOf(form_, [&] { Click(kOnLink); }),
            L"Windows 未能打开论坛。\n\n请打开浏览器，在地址栏中输入 http://bbs.example.com/ "
            L"并按 Enter 键。");
}

// A close request that the call dispatches: the box still shows over the window, and the window
// closes once the box is answered. (The box is looked for as the window's popup, which a window
// that is gone has none of.)
TEST_F(LinkLabelTest, ACloseRequestDuringTheCallWaitsForTheBox) {
  executeAnswer = FALSE;
  closedInside = form_;
  const std::wstring box = BoxTextOf(form_, [&] { Click(kOnLink); });
  EXPECT_FALSE(box.empty()) << "the box was lost with its owner, or the window was gone";
  Pump();
  EXPECT_FALSE(IsWindow(form_)) << "the close request was dropped";
}

// Elevated, the program never starts the handler itself: the desktop's shell opens the page as
// the person signed in, and where it cannot, nothing opens and a box says why and what to do.
TEST_F(LinkLabelTest, ElevatedTheDesktopsShellOpensTheForumOrABoxSaysWhy) {
  CommandRecording recording({L"rundll32.exe"});
  ASSERT_TRUE(recording.ready()) << "the command recorder does not stand in; run through ctest";
  app::SetForumLinkSeamsForTesting({.elevated = Elevated,
                                    .openThroughDesktopShell = OpenThroughStandInShell,
                                    .shellExecute = StandInShellExecute});
  struct Case {
    HRESULT shellAnswer;
    bool boxShown;
  };
  for (const Case c : {Case{S_OK, false}, Case{E_FAIL, true}, Case{E_NOINTERFACE, true}}) {
    SCOPED_TRACE(testing::Message() << std::hex << c.shellAnswer);
    shellOpens.clear();
    shellAnswer = c.shellAnswer;
    const std::wstring box = BoxTextOf(form_, [&] { Click(kOnLink); });
    ASSERT_EQ(shellOpens.size(), 1u);
    EXPECT_EQ(shellOpens[0].target, L"http://bbs.example.com/");
    EXPECT_EQ(shellOpens[0].showCommand, SW_SHOWNORMAL);
    EXPECT_EQ(box,
              c.boxShown
                  ? L"未能打开论坛。本程序正以管理员权限运行（例如通过“以管理员身份运行”启动），"
                    L"为安全起见，它不以此权限打开浏览器，而是请资源管理器以当前登录的用户身份"
                    L"打开论坛，但未成功。\n\n请打开浏览器，在地址栏中输入 "
                    L"http://bbs.example.com/ 并按 Enter 键。"
                  : L"");
  }
  EXPECT_TRUE(executions.empty()) << "elevated, the program opened the page itself";
  EXPECT_TRUE(recording.Starts().empty()) << "the program started the handler itself";

  // A click that arrives while the shell is asked asks nothing more.
  shellOpens.clear();
  shellAnswer = S_OK;
  clickedAgainInside = form_;
  Click(kOnLink);
  EXPECT_EQ(shellOpens.size(), 1u);
}

}  // namespace
