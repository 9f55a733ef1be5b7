// What a screen reader finds in both windows, read in-process as a reader reads them, at 96 and
// 192 DPI: names, roles, places from the twips boxes, hit tests, reading order, the link's action.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/instructions_window.h"
#include "app/main_window.h"
#include "tests/app/command_recording.h"
#include "tests/support/accessible_reading.h"
#include "tests/support/message_pump.h"
#include "win/accessible_base.h"
#include "win/dpi.h"

namespace {

using testing_support::AccessibleNode;
using testing_support::AccessibleRef;

struct Twips {
  int left, top, width, height;
};

// One item as the windows are designed; a window's children, the frame's commands.
struct ItemDesign {
  long role;
  const wchar_t* name;
  Twips box;  // in the client coordinates of the window that holds it
  const wchar_t* value = L"";
  const wchar_t* action = L"";
};

const ItemDesign kForm1Items[] = {
    {ROLE_SYSTEM_GROUPING, L"操作功能", {120, 120, 4095, 1695}},
    {ROLE_SYSTEM_STATICTEXT, L"Quenlit", {120, 1920, 1305, 240}},
    {ROLE_SYSTEM_LINK,
     L"http://bbs.example.com",
     {1440, 1920, 2775, 240},
     L"http://bbs.example.com/",
     L"跳转"},
};
const ItemDesign kCommands[] = {
    {ROLE_SYSTEM_PUSHBUTTON, L"显示内嵌图片", {120, 240, 3855, 375}, L"", L"按"},
    {ROLE_SYSTEM_PUSHBUTTON, L"关闭内嵌图片", {120, 720, 3855, 375}, L"", L"按"},
    {ROLE_SYSTEM_PUSHBUTTON, L"刷新后马上生效", {120, 1200, 1815, 375}, L"", L"按"},
    {ROLE_SYSTEM_PUSHBUTTON, L"说明", {2040, 1200, 1935, 375}, L"", L"按"},
};
const ItemDesign kForm2Items[] = {
    {ROLE_SYSTEM_GRAPHIC, L"IE网页中图片无法显示的样子", {0, 0, 5025, 3420}},
    {ROLE_SYSTEM_STATICTEXT, app::form2::kLabel1Text.data(), {120, 3480, 4815, 1095}},
};

RECT OnScreen(HWND window, const Twips& box, int dpi) {
  POINT origin{};
  ClientToScreen(window, &origin);
  const int left = origin.x + win::TwipsToPixels(box.left, dpi);
  const int top = origin.y + win::TwipsToPixels(box.top, dpi);
  return {left, top, left + win::TwipsToPixels(box.width, dpi),
          top + win::TwipsToPixels(box.height, dpi)};
}

// The change of DPI as the system sends it (see display_scale_test.cpp).
void ChangeDpi(HWND window, int dpi) {
  constexpr UINT kGetDpiScaledSize = 0x02E4;
  SIZE size{};
  SendMessageW(window, kGetDpiScaledSize, dpi, reinterpret_cast<LPARAM>(&size));
  RECT suggested{};
  GetWindowRect(window, &suggested);
  suggested.right = suggested.left + size.cx;
  suggested.bottom = suggested.top + size.cy;
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  testing_support::PumpMessages();
}

VARIANT Child(long child) {
  VARIANT id;
  VariantInit(&id);
  V_VT(&id) = VT_I4;
  V_I4(&id) = child;
  return id;
}

// The children of `object` are the designed items, in order and in place; each is found by a hit
// test at its centre and by reading-order navigation. Returns them.
std::vector<AccessibleNode> ExpectItems(const AccessibleRef& object, HWND window,
                                        const std::vector<ItemDesign>& design, int dpi) {
  std::vector<AccessibleNode> read = testing_support::ReadChildren(object);
  EXPECT_EQ(read.size(), design.size());
  if (read.size() != design.size()) return read;
  const long count = static_cast<long>(design.size());
  for (long i = 0; i < count; ++i) {
    const ItemDesign& item = design[static_cast<size_t>(i)];
    const AccessibleNode& node = read[static_cast<size_t>(i)];
    SCOPED_TRACE(testing::Message() << "item " << i + 1 << " at " << dpi << " DPI");
    EXPECT_EQ(node.role, item.role);
    EXPECT_EQ(node.name, item.name);
    EXPECT_EQ(node.value, item.value);
    EXPECT_EQ(node.action, item.action);
    const RECT box = OnScreen(window, item.box, dpi);
    EXPECT_TRUE(EqualRect(&node.location, &box))
        << node.location.left << "," << node.location.top << " " << node.location.right << ","
        << node.location.bottom;
    const POINT centre = testing_support::CentreOf(box);
    VARIANT found;
    EXPECT_EQ(object->accHitTest(centre.x, centre.y, &found), S_OK);
    const testing_support::ChildFound hit = testing_support::TakeChild(found);
    EXPECT_TRUE(hit.child == i + 1 || hit.objectName == item.name) << "hit test";
    // Reading order: the first child from the object, then the next of each.
    VARIANT next;
    object->accNavigate(i == 0 ? NAVDIR_FIRSTCHILD : NAVDIR_NEXT, Child(i == 0 ? CHILDID_SELF : i),
                        &next);
    const testing_support::ChildFound reached = testing_support::TakeChild(next);
    EXPECT_TRUE(reached.child == i + 1 || reached.objectName == item.name) << "navigation";
  }
  VARIANT beyond;
  EXPECT_EQ(object->accNavigate(NAVDIR_NEXT, Child(count), &beyond), S_FALSE);
  EXPECT_EQ(object->accNavigate(NAVDIR_PREVIOUS, Child(count), &beyond), S_OK);
  const testing_support::ChildFound previous = testing_support::TakeChild(beyond);
  EXPECT_TRUE(previous.child == count - 1 || previous.objectName == design[count - 2].name);
  return read;
}

std::wstring ParentName(const AccessibleRef& object) {
  IDispatch* parent = nullptr;
  object->get_accParent(&parent);
  return testing_support::ReadNode(testing_support::AccessibleFrom(parent)).name;
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
    if (dpi != win::kDefaultDpi) ChangeDpi(form, dpi);
    const AccessibleRef root = testing_support::ClientObjectOf(form);
    ASSERT_TRUE(root);
    const AccessibleNode self = testing_support::ReadNode(testing_support::ClientObjectOf(form));
    EXPECT_EQ(self.role, ROLE_SYSTEM_CLIENT);
    EXPECT_EQ(self.name, L"Morvane");
    IDispatch* parent = nullptr;
    EXPECT_EQ(root->get_accParent(&parent), S_OK) << "the window's own object";
    if (parent != nullptr) parent->Release();

    std::vector<AccessibleNode> items =
        ExpectItems(root, form, {std::begin(kForm1Items), std::end(kForm1Items)}, dpi);
    ASSERT_EQ(items.size(), 3u);
    const std::vector<AccessibleNode> commands =
        ExpectItems(items[0].object, GetWindow(form, GW_CHILD),
                    {std::begin(kCommands), std::end(kCommands)}, dpi);
    // Each object sits in the object of the window that holds it.
    EXPECT_EQ(ParentName(items[0].object), L"Morvane");
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(ParentName(commands[0].object), L"操作功能");
    for (size_t i = 0; i < commands.size(); ++i) {
      EXPECT_EQ((commands[i].state & STATE_SYSTEM_FOCUSED) != 0, i == 0) << "command " << i;
      EXPECT_NE(commands[i].state & STATE_SYSTEM_FOCUSABLE, 0) << "command " << i;
    }

    app::form1::Unload();
    long count = 0;
    EXPECT_EQ(root->get_accChildCount(&count), CO_E_OBJNOTCONNECTED) << "once the window is gone";
    EXPECT_EQ(items[0].object->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);

    HWND instructions = app::form2::Show();
    ASSERT_NE(instructions, nullptr);
    if (dpi != win::kDefaultDpi) ChangeDpi(instructions, dpi);
    ExpectItems(testing_support::ClientObjectOf(instructions), instructions,
                {std::begin(kForm2Items), std::end(kForm2Items)}, dpi);
    app::form2::Unload();
  }
}

TEST_F(AccessibilityTest, TheLinksDefaultActionOpensTheForumAsAClickDoes) {
  testing_support::CommandRecording recording({L"rundll32.exe"});
  ASSERT_TRUE(recording.ready()) << "the command recorder does not stand in; run through ctest";
  HWND form = app::form1::Show();
  ASSERT_NE(form, nullptr);
  const AccessibleRef root = testing_support::ClientObjectOf(form);
  ASSERT_TRUE(root);
  EXPECT_EQ(root->accDoDefaultAction(Child(2)), DISP_E_MEMBERNOTFOUND) << "plain text";
  EXPECT_EQ(root->accDoDefaultAction(Child(3)), S_OK);
  ASSERT_TRUE(recording.WaitForStart(10000)) << "the default action started nothing";
  const std::vector<testing_support::RecordedStart> starts = recording.Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].commandLine, L"\"" + testing_support::SystemDirectoryForTest() +
                                       L"\\rundll32.exe\" url.dll,FileProtocolHandler "
                                       L"\"http://bbs.example.com/\"");
  EXPECT_EQ(starts[0].showWindow, SW_SHOWNORMAL);
}

}  // namespace
