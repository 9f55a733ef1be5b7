// What a screen reader finds in both windows, at 96 and 192 DPI: names, roles, places from the
// twips boxes, hit tests and reading order, read in-process and from the started program; and
// the link's default action.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/instructions_window.h"
#include "app/main_window.h"
#include "tests/app/command_recording.h"
#include "tests/support/accessible_reading.h"
#include "tests/support/display_scale.h"
#include "tests/support/message_pump.h"
#include "win/accessible_base.h"
#include "win/dpi.h"

namespace {

using testing_support::AccessibleNode;
using testing_support::AccessibleRef;
using testing_support::ChildVariant;
using testing_support::NameFound;

// One item as the windows are designed, its box in the client area of the window holding it.
struct ItemDesign {
  long role;
  const wchar_t* name;
  RECT twips;  // left, top, width, height
  const wchar_t* value = L"";
  const wchar_t* action = L"";
};
using Design = std::vector<ItemDesign>;

const Design kForm1 = {
    {ROLE_SYSTEM_GROUPING, L"操作功能", {120, 120, 4095, 1695}},
    {ROLE_SYSTEM_STATICTEXT, L"Quenlit", {120, 1920, 1305, 240}},
    {ROLE_SYSTEM_LINK,
     L"http://bbs.example.com",
     {1440, 1920, 2775, 240},
     L"http://bbs.example.com/",
     L"跳转"},
};
const Design kCommands = {
    {ROLE_SYSTEM_PUSHBUTTON, L"显示内嵌图片", {120, 240, 3855, 375}, L"", L"按"},
    {ROLE_SYSTEM_PUSHBUTTON, L"关闭内嵌图片", {120, 720, 3855, 375}, L"", L"按"},
    {ROLE_SYSTEM_PUSHBUTTON, L"刷新后马上生效", {120, 1200, 1815, 375}, L"", L"按"},
    {ROLE_SYSTEM_PUSHBUTTON, L"说明", {2040, 1200, 1935, 375}, L"", L"按"},
};
const Design kForm2 = {
    {ROLE_SYSTEM_GRAPHIC, L"IE网页中图片无法显示的样子", {0, 0, 5025, 3420}},
    {ROLE_SYSTEM_STATICTEXT, app::form2::kLabel1Text.data(), {120, 3480, 4815, 1095}},
};

RECT OnScreen(HWND window, const RECT& twips, int dpi) {
  POINT at = {win::TwipsToPixels(twips.left, dpi), win::TwipsToPixels(twips.top, dpi)};
  ClientToScreen(window, &at);
  return {at.x, at.y, at.x + win::TwipsToPixels(twips.right, dpi),
          at.y + win::TwipsToPixels(twips.bottom, dpi)};
}

// The object's children are the designed items, in order and in place; each is found by a hit
// test at its centre and by reading-order navigation. Returns them.
std::vector<AccessibleNode> ExpectItems(const AccessibleRef& object, HWND window,
                                        const Design& design, int dpi) {
  std::vector<AccessibleNode> read = testing_support::ReadChildren(object);
  EXPECT_EQ(read.size(), design.size());
  if (read.size() != design.size()) return {};
  VARIANT found;
  for (size_t i = 0; i < design.size(); ++i) {
    const ItemDesign& item = design[i];
    const AccessibleNode& node = read[i];
    SCOPED_TRACE(testing::Message() << "item " << i + 1 << " at " << dpi << " DPI");
    EXPECT_EQ(node.role, item.role);
    EXPECT_EQ(node.name, item.name);
    EXPECT_EQ(node.value, item.value);
    EXPECT_EQ(node.action, item.action);
    const RECT box = OnScreen(window, item.twips, dpi);
    EXPECT_TRUE(EqualRect(&node.location, &box)) << node.location.left << "," << node.location.top;
    object->accHitTest((box.left + box.right) / 2, (box.top + box.bottom) / 2, &found);
    EXPECT_EQ(NameFound(object, found), item.name) << "hit test";
    const auto from = static_cast<long>(i);
    object->accNavigate(i == 0 ? NAVDIR_FIRSTCHILD : NAVDIR_NEXT, ChildVariant(from), &found);
    EXPECT_EQ(NameFound(object, found), item.name) << "navigation";
  }
  const auto last = static_cast<long>(design.size());
  EXPECT_EQ(object->accNavigate(NAVDIR_NEXT, ChildVariant(last), &found), S_FALSE);
  object->accNavigate(NAVDIR_PREVIOUS, ChildVariant(last), &found);
  EXPECT_EQ(NameFound(object, found), design[design.size() - 2].name);
  return read;
}

// Form1's tree: its items, the commands in the frame, and each object inside its parent's.
void ExpectForm1Tree(HWND form, int dpi) {
  const AccessibleRef root = testing_support::ClientObjectOf(form);
  ASSERT_TRUE(root);
  EXPECT_EQ(testing_support::ReadNode(root).role, ROLE_SYSTEM_CLIENT);
  const std::vector<AccessibleNode> items = ExpectItems(root, form, kForm1, dpi);
  ASSERT_FALSE(items.empty());
  HWND frame = GetWindow(form, GW_CHILD);
  const std::vector<AccessibleNode> commands = ExpectItems(items[0].object, frame, kCommands, dpi);
  ASSERT_FALSE(commands.empty());
  for (size_t i = 0; i < commands.size(); ++i) {
    EXPECT_EQ((commands[i].state & STATE_SYSTEM_FOCUSED) != 0, i == 0) << "command " << i;
  }
  VARIANT focus;
  root->get_accFocus(&focus);
  EXPECT_EQ(NameFound(root, focus), L"操作功能") << "the focus is in the group";
  IDispatch* parent = nullptr;
  commands[0].object->get_accParent(&parent);
  VARIANT held;
  V_VT(&held) = VT_DISPATCH;
  V_DISPATCH(&held) = parent;
  EXPECT_EQ(NameFound(root, held), L"操作功能") << "a command's parent";
}

class AccessibilityTest : public ::testing::Test {
 protected:
  void TearDown() override {
    app::form2::Unload();
    app::form1::Unload();
    testing_support::PumpMessages();
  }
  const win::ThreadApartment apartment_;
};

TEST_F(AccessibilityTest, BothWindowsReadInOrderWithTheirItemsInPlaceAtBothScales) {
  for (const int dpi : {96, 192}) {
    HWND form = app::form1::Show();
    ASSERT_NE(form, nullptr);
    testing_support::SendDpiChange(form, dpi);
    ExpectForm1Tree(form, dpi);
    const AccessibleRef held = testing_support::ClientObjectOf(form);
    app::form1::Unload();
    long count = 0;
    EXPECT_EQ(held->get_accChildCount(&count), CO_E_OBJNOTCONNECTED) << "the window is gone";

    HWND instructions = app::form2::Show();
    ASSERT_NE(instructions, nullptr);
    testing_support::SendDpiChange(instructions, dpi);
    ExpectItems(testing_support::ClientObjectOf(instructions), instructions, kForm2, dpi);
    app::form2::Unload();
  }
}

// From another process, as a screen reader reads the started program.
TEST_F(AccessibilityTest, TheStartedProgramReadsTheSameFromAnotherProcess) {
  for (const int dpi : {96, 192}) {
    testing_support::RunProgramAtDpi(
        dpi, [dpi](testing_support::RunningProgram& program, HWND form) {
          ExpectForm1Tree(form, dpi);
          PostMessageW(FindWindowExW(GetWindow(form, GW_CHILD), nullptr, nullptr, L"说明"),
                       BM_CLICK, 0, 0);
          HWND instructions = program.WaitForWindow(L"使用说明");
          ASSERT_NE(instructions, nullptr);
          ExpectItems(testing_support::ClientObjectOf(instructions), instructions, kForm2, dpi);
        });
  }
}

TEST_F(AccessibilityTest, TheLinksDefaultActionOpensTheForumAsAClickDoes) {
  testing_support::CommandRecording recording({L"rundll32.exe"});
  ASSERT_TRUE(recording.ready()) << "the command recorder does not stand in; run through ctest";
  const AccessibleRef root = testing_support::ClientObjectOf(app::form1::Show());
  ASSERT_TRUE(root);
  EXPECT_EQ(root->accDoDefaultAction(ChildVariant(2)), DISP_E_MEMBERNOTFOUND) << "plain text";
  EXPECT_EQ(root->accDoDefaultAction(ChildVariant(3)), S_OK);
  ASSERT_TRUE(recording.WaitForStart(10000)) << "the default action started nothing";
  const std::vector<testing_support::RecordedStart> starts = recording.Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].commandLine, L"\"" + testing_support::SystemDirectoryForTest() +
                                       L"\\rundll32.exe\" url.dll,FileProtocolHandler "
                                       L"\"http://bbs.example.com/\"");
  EXPECT_EQ(starts[0].showWindow, SW_SHOWNORMAL);
}

}  // namespace
