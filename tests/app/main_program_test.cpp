// End-to-end: the built program runs as its own process; the test finds its windows, presses
// its buttons and answers its message boxes from outside, as a user would. The skin's state is
// read through the buttons' window properties, as any other process can.

#include <windows.h>

#include <gtest/gtest.h>
#include <psapi.h>

#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "skin/core/skin_kind.h"
#include "tests/support/command_recording.h"
#include "tests/support/keyboard_input.h"
#include "tests/support/pictures.h"
#include "tests/support/pointer_input.h"
#include "tests/support/running_program.h"

namespace {

using testing_support::ClassNameOf;
using testing_support::ClientSize;
using testing_support::CommandRecording;
using testing_support::PressKey;
using testing_support::RectInParent;
using testing_support::RunningProgram;
using testing_support::ShownTooltipOf;
using testing_support::WaitUntil;
using testing_support::WindowText;

const std::wstring kMainCaption = L"Morvane";
const std::wstring kInstructionsCaption = L"使用说明";
const std::wstring kNoticeCaption = L"提示";

struct ExpectedChild {
  const wchar_t* caption;
  RECT rect;  // in the client coordinates of the frame
};

// The buttons inside the frame, in Tab order.
const ExpectedChild kButtons[] = {
    {L"显示内嵌图片", {8, 16, 8 + 257, 16 + 25}},
    {L"关闭内嵌图片", {8, 48, 8 + 257, 48 + 25}},
    {L"刷新后马上生效", {8, 80, 8 + 121, 80 + 25}},
    {L"说明", {136, 80, 136 + 129, 80 + 25}},
};

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

HWND ButtonWithCaption(HWND parent, const std::wstring& caption) {
  for (HWND child : Children(parent)) {
    if (WindowText(child) == caption) return child;
  }
  return nullptr;
}

HWND FrameOf(HWND form) {
  std::vector<HWND> children = Children(form);
  return children.size() == 1 ? children[0] : nullptr;
}

// A dialog of the client size with a fixed single border, centred on the screen.
void ExpectFixedDialogCentred(HWND window, SIZE client) {
  EXPECT_EQ(ClassNameOf(window), L"#32770");
  EXPECT_EQ(ClientSize(window).cx, client.cx);
  EXPECT_EQ(ClientSize(window).cy, client.cy);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME) << "resizable";
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  RECT rect{};
  GetWindowRect(window, &rect);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(std::abs(rect.left + rect.right - screenWidth), 1) << rect.left << " " << rect.right;
  EXPECT_LE(std::abs(rect.top + rect.bottom - screenHeight), 1) << rect.top << " " << rect.bottom;
}

// True when the process has loaded the DLL of this file name.
bool HasLoaded(DWORD processId, const std::wstring& dllName) {
  const win::KernelHandle process(
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  HMODULE modules[512] = {};
  DWORD bytes = 0;
  if (!process || !EnumProcessModules(process.get(), modules, sizeof modules, &bytes)) return false;
  for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < std::size(modules); ++i) {
    wchar_t name[MAX_PATH] = {};
    GetModuleBaseNameW(process.get(), modules[i], name, MAX_PATH);
    if (_wcsicmp(name, dllName.c_str()) == 0) return true;
  }
  return false;
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

LONG_PTR Prop(HWND window, const char* key) {
  return reinterpret_cast<LONG_PTR>(GetPropA(window, key));
}

void CloseWithSystemMenu(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

class MainProgramTest : public ::testing::Test {
 protected:
  // Starts the program and waits for its main window. A recording of started commands must
  // exist before: the program inherits the recorder's settings from this process.
  void Start() {
    program_ = std::make_unique<RunningProgram>();
    ASSERT_TRUE(program_->started());
    form_ = program_->WaitForWindow(kMainCaption);
    ASSERT_NE(form_, nullptr) << "the main window did not appear";
  }

  // Closing the main window ends the program.
  void ExpectClosingEndsProgram() {
    CloseWithSystemMenu(form_);
    DWORD exitCode = 99;
    ASSERT_TRUE(program_->WaitForExit(10000, &exitCode)) << "the program is still running";
    EXPECT_EQ(exitCode, 0u);
  }

  HWND Command(int tabIndex) {
    return ButtonWithCaption(FrameOf(form_), kButtons[tabIndex].caption);
  }

  std::unique_ptr<RunningProgram> program_;
  HWND form_ = nullptr;
};

TEST_F(MainProgramTest, MainWindowHasItsFrameButtonsTabOrderAndFocus) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ExpectFixedDialogCentred(form_, {290, 153});
  EXPECT_EQ(skin::GetSkinKind(form_), skin::SkinKind::Form);
  EXPECT_EQ(program_->VisibleWindows().size(), 1u);

  // The frame is the only child of the form; the skin must leave it to its own procedure.
  HWND frame = FrameOf(form_);
  ASSERT_NE(frame, nullptr) << "the form should hold exactly one child, the frame";
  EXPECT_EQ(WindowText(frame), L"操作功能");
  EXPECT_EQ(skin::GetSkinKind(frame), skin::SkinKind::Other) << ClassNameOf(frame).c_str();
  const RECT frameRect = RectInParent(frame);
  EXPECT_EQ(frameRect.left, 8);
  EXPECT_EQ(frameRect.top, 8);
  EXPECT_EQ(frameRect.right, 8 + 273);
  EXPECT_EQ(frameRect.bottom, 8 + 113);
  EXPECT_TRUE(GetWindowLongPtrW(frame, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);

  ASSERT_EQ(Children(frame).size(), 4u);
  for (const ExpectedChild& expected : kButtons) {
    SCOPED_TRACE(testing::Message() << "button " << (&expected - kButtons));
    HWND button = ButtonWithCaption(frame, expected.caption);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(ClassNameOf(button), L"Button");
    // The skin draws push buttons itself (owner-drawn) and keeps their own style under
    // "OLDSTYLE", which another process can read too.
    LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
    if (HANDLE saved = GetPropA(button, "OLDSTYLE")) style = reinterpret_cast<LONG_PTR>(saved);
    const LONG_PTR type = style & BS_TYPEMASK;
    EXPECT_TRUE(type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) << type;
    const RECT rect = RectInParent(button);
    EXPECT_EQ(rect.left, expected.rect.left);
    EXPECT_EQ(rect.top, expected.rect.top);
    EXPECT_EQ(rect.right, expected.rect.right);
    EXPECT_EQ(rect.bottom, expected.rect.bottom);
  }

  // The first command holds the focus; Tab (through the dialog keyboard interface of the
  // program's message loop) walks the four commands and comes back round.
  ASSERT_TRUE(WaitUntil([&] { return program_->FocusWindow() == Command(0); }))
      << "focus is on " << WindowText(program_->FocusWindow()).size();
  for (int step = 1; step <= 4; ++step) {
    HWND expected = Command(step % 4);
    PostMessageW(program_->FocusWindow(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(WaitUntil([&] { return program_->FocusWindow() == expected; }, 5000))
        << "Tab " << step << " did not reach button " << step % 4;
  }

  ExpectClosingEndsProgram();
}

// The window comes up with nothing loaded that only a later action needs: comctl32 (the
// tooltip), shell32 (switches and the link) and oleaut32 (a screen reader's strings). The first
// hover over a repair command brings the tooltip, and comctl32 with it.
TEST_F(MainProgramTest, ComesUpWithoutTheDllsOfLaterActionsAndLoadsThemOnFirstNeed) {
  testing_support::MovePointerTo(2, 2);
  ASSERT_NO_FATAL_FAILURE(Start());
  program_->WaitForInputIdle(10000);
  for (const wchar_t* dll : {L"comctl32.dll", L"shell32.dll", L"oleaut32.dll"}) {
    EXPECT_FALSE(HasLoaded(program_->processId(), dll)) << dll;
  }
  EXPECT_TRUE(HasLoaded(program_->processId(), L"ole32.dll")) << "the module list was not read";

  // The tooltip's text, and that it goes with the pointer, are checked from outside in
  // inline_images_status_test.
  testing_support::MovePointerOnto(Command(0));
  EXPECT_TRUE(WaitUntil([&] { return ShownTooltipOf(form_) != nullptr; }, 10000));
  EXPECT_TRUE(HasLoaded(program_->processId(), L"comctl32.dll"));
  testing_support::MovePointerTo(2, 2);
  ExpectClosingEndsProgram();
}

TEST_F(MainProgramTest, InstructionsReplaceTheMainWindowAndBringItBack) {
  ASSERT_NO_FATAL_FAILURE(Start());
  for (int round = 1; round <= 3; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    Click(Command(3));
    HWND instructions = program_->WaitForWindow(kInstructionsCaption);
    ASSERT_NE(instructions, nullptr) << "the instructions window did not appear";
    EXPECT_TRUE(program_->WaitForWindowGone(kMainCaption));
    EXPECT_FALSE(IsWindow(form_)) << "the main window was hidden, not unloaded";
    EXPECT_EQ(program_->VisibleWindows(), std::vector<HWND>{instructions});

    ExpectFixedDialogCentred(instructions, {337, 312});
    EXPECT_EQ(GetWindow(instructions, GW_OWNER), nullptr);

    CloseWithSystemMenu(instructions);
    form_ = program_->WaitForWindow(kMainCaption);
    ASSERT_NE(form_, nullptr) << "closing the instructions did not bring the main window back";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(instructions); }));
    EXPECT_EQ(program_->VisibleWindows(), std::vector<HWND>{form_});
    EXPECT_EQ(ClientSize(form_).cx, 290);
    EXPECT_EQ(Children(FrameOf(form_)).size(), 4u);
    EXPECT_TRUE(WaitUntil([&] { return program_->FocusWindow() == Command(0); }));
  }
  ExpectClosingEndsProgram();
}

// The repair commands are skinned, and fade when the pointer moves over them.
TEST_F(MainProgramTest, ButtonsAreSkinnedAndFadeUnderThePointer) {
  SetCursorPos(2, 2);
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND command2 = Command(0);
  HWND command3 = Command(1);
  ASSERT_NE(command2, nullptr);
  ASSERT_NE(command3, nullptr);
  EXPECT_NE(Prop(form_, "PROCADDR"), 0);
  for (HWND command : {command2, command3}) {
    EXPECT_NE(Prop(command, "PROCADDR"), 0);
    EXPECT_NE(Prop(command, "HDC1"), 0);
    EXPECT_EQ(GetWindowLongPtrW(command, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  }

  // The pointer comes over Command2: the hot face fades in on the program's own timer and the
  // fade ends by itself.
  testing_support::MovePointerOnto(command2);
  EXPECT_TRUE(WaitUntil([&] { return Prop(command2, "MOUSEFLAG") == 1; }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return Prop(command2, "TIMERID") != 0; }, 5000));
  EXPECT_EQ(Prop(command2, "OLDSTATE"), 1);
  EXPECT_TRUE(WaitUntil([&] { return Prop(command2, "TIMERID") == 0; }, 5000));
  EXPECT_EQ(Prop(command2, "ALPHALEVEL"), 0);

  // Command3 pressed (the press arrives as a message; the pointer stays on Command2).
  PostMessageW(command3, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_TRUE(WaitUntil([&] { return Prop(command3, "OLDSTATE") == 2; }, 5000));
  RECT rect{};
  GetWindowRect(form_, &rect);
  testing_support::SaveScreenPicture(rect, L"running_program_hot_and_pressed.bmp");
  testing_support::MovePointerTo(2, 2);
}

// The confirmation box of the refresh command: its text, its only buttons Yes and No, and No
// preselected: it holds the focus as the default button.
void ExpectRestartConfirmation(HWND box, HWND focus) {
  EXPECT_EQ(ClassNameOf(box), L"#32770");
  std::wstring text;
  int visibleButtons = 0;
  for (HWND child : Children(box)) {
    if (!IsWindowVisible(child)) continue;
    if (ClassNameOf(child) == L"Button") ++visibleButtons;
    if (ClassNameOf(child) == L"Static" && !WindowText(child).empty()) text = WindowText(child);
  }
  EXPECT_EQ(text,
            L"        刷新前请先保存好数据或者关闭其他已打开的程序后再进行,以免造成不必要的损失！");
  EXPECT_EQ(visibleButtons, 2);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDYES)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDNO)));
  EXPECT_EQ(focus, GetDlgItem(box, IDNO));
  // The default button type, kept under "OLDSTYLE" while the skin draws the button, and the
  // default role as the dialog manager asks for it.
  HWND no = GetDlgItem(box, IDNO);
  LONG_PTR style = GetWindowLongPtrW(no, GWL_STYLE);
  if (HANDLE saved = GetPropA(no, "OLDSTYLE")) style = reinterpret_cast<LONG_PTR>(saved);
  EXPECT_EQ(style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_TRUE(SendMessageW(no, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
}

// The restart itself is tested through its seams with a stand-in shell (shell_restart_test);
// here the program meets the prefix as it is, where no shell window exists, so Yes must say that
// it found none and start nothing, least of all a command interpreter.
TEST_F(MainProgramTest, RefreshAsksFirstAndOnYesSaysWhenThereIsNoShell) {
  ASSERT_EQ(GetShellWindow(), nullptr) << "the prefix has a shell: Yes would end it";
  CommandRecording recording({L"cmd.exe"});
  ASSERT_TRUE(recording.ready()) << "the command recorder does not stand in; run through ctest";
  ASSERT_NO_FATAL_FAILURE(Start());

  // Enter at once answers No.
  Click(Command(2));
  HWND box = program_->WaitForWindow(kNoticeCaption);
  ASSERT_NE(box, nullptr) << "no confirmation box";
  EXPECT_EQ(GetWindow(box, GW_OWNER), form_);
  ASSERT_TRUE(WaitUntil([&] { return GetParent(program_->FocusWindow()) == box; }));
  ExpectRestartConfirmation(box, program_->FocusWindow());
  PostMessageW(program_->FocusWindow(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(program_->WaitForWindowGone(kNoticeCaption)) << "Enter did not answer";

  // A click on No.
  Click(Command(2));
  box = program_->WaitForWindow(kNoticeCaption);
  ASSERT_NE(box, nullptr) << "no confirmation box the second time";
  Click(GetDlgItem(box, IDNO));
  EXPECT_TRUE(program_->WaitForWindowGone(kNoticeCaption));

  // With the keyboard: Tab from No to Yes, then Enter answers Yes, and a box says that no shell
  // was found.
  Click(Command(2));
  box = program_->WaitForWindow(kNoticeCaption);
  ASSERT_NE(box, nullptr) << "no confirmation box the third time";
  ASSERT_TRUE(WaitUntil([&] { return program_->FocusWindow() == GetDlgItem(box, IDNO); }));
  ASSERT_EQ(GetForegroundWindow(), box) << "the keys would go elsewhere";
  PressKey(VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return program_->FocusWindow() == GetDlgItem(box, IDYES); }));
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "Enter did not answer";
  const testing_support::MessageBoxSeen told = program_->WaitForMessageBox();
  ASSERT_NE(told.window, nullptr) << "Yes without a shell told nothing";
  EXPECT_EQ(told.title, kNoticeCaption);
  EXPECT_EQ(told.text,
            L"找不到正在运行的资源管理器，因此无法刷新。请按 Ctrl+Alt+Delete，单击“注销”，"
            L"然后重新登录，使设置生效。");
  EXPECT_EQ(GetWindow(told.window, GW_OWNER), form_);
  // Whatever the program started, it started before it told: nothing is left to wait for.
  EXPECT_EQ(testing_support::ChildProcessCount(program_->processId()), 0)
      << "a program was started";
  EXPECT_TRUE(recording.Starts().empty());
  EXPECT_TRUE(testing_support::AnswerMessageBox(told));

  EXPECT_TRUE(IsWindowVisible(form_));
  ExpectClosingEndsProgram();
}

}  // namespace
