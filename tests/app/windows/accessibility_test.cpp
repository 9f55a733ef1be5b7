// What a screen reader finds in both windows, at 96 and 192 DPI: names, roles, places from the
// twips boxes, hit tests and reading order, read in-process and from the started program; the
// link's default action; the platform's rules for objects, windows, focus and navigation; and a
// reader's ordinary traffic, round after round, against the started program.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "accessible/accessible_base.h"
#include "accessible/kept_table.h"
#include "accessible/thread_apartment.h"
#include "app/system/forum_link.h"
#include "app/windows/instructions_window.h"
#include "app/windows/main_window.h"
#include "skin/engine/skin_engine.h"
#include "tests/support/accessible_reading.h"
#include "tests/support/display_scale.h"
#include "tests/support/message_pump.h"
#include "tests/support/process_memory.h"
#include "tests/support/program_launch.h"
#include "win/dpi.h"
#include "win/unique_handle.h"

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
    {ROLE_SYSTEM_GRAPHIC, L"IE 网页中图片无法显示的样子", {0, 0, 5025, 3420}},
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
}

HWND WindowOf(const AccessibleRef& object) {
  HWND window = nullptr;
  return object && SUCCEEDED(WindowFromAccessibleObject(object.get(), &window)) ? window : nullptr;
}

AccessibleRef ParentOf(const AccessibleRef& object) {
  IDispatch* parent = nullptr;
  if (!object || object->get_accParent(&parent) != S_OK) return nullptr;
  return testing_support::AccessibleFrom(parent);
}

// The name of what a navigation from the object itself reached; empty at the end.
std::wstring NavigatedFrom(const AccessibleRef& object, long direction) {
  VARIANT found;
  if (object->accNavigate(direction, ChildVariant(CHILDID_SELF), &found) != S_OK) return L"";
  EXPECT_EQ(V_VT(&found), VT_DISPATCH) << "a sibling reached from an object is an object";
  return NameFound(object, found);
}

bool SameObject(const AccessibleRef& one, const AccessibleRef& other) {
  IUnknown* a = nullptr;
  IUnknown* b = nullptr;
  one->QueryInterface(IID_PPV_ARGS(&a));
  other->QueryInterface(IID_PPV_ARGS(&b));
  const bool same = a != nullptr && a == b;
  if (a != nullptr) a->Release();
  if (b != nullptr) b->Release();
  return same;
}

// Each object of the main window against the platform's rules: the window it names, its parent
// (its own window's window object), its state, whether it takes the focus, its siblings in
// reading order, and the same object for every request.
void ExpectPlatformRules(const testing_support::RunningProgram& program, HWND form) {
  HWND frame = GetWindow(form, GW_CHILD);
  auto command = [frame](const wchar_t* caption) {
    return FindWindowExW(frame, nullptr, nullptr, caption);
  };
  struct Row {
    HWND window;
    long state;  // beside STATE_SYSTEM_FOCUSABLE, which only the frame lacks
    const wchar_t* previous;
    const wchar_t* next;
  };
  const Row rows[] = {
      {form, 0, L"", L""},
      {frame, 0, L"", L"Quenlit"},
      {command(L"显示内嵌图片"), STATE_SYSTEM_FOCUSED | STATE_SYSTEM_DEFAULT, L"", L"关闭内嵌图片"},
      {command(L"关闭内嵌图片"), 0, L"显示内嵌图片", L"刷新后马上生效"},
      {command(L"刷新后马上生效"), 0, L"关闭内嵌图片", L"说明"},
      {command(L"说明"), 0, L"刷新后马上生效", L""},
  };
  for (const Row& row : rows) {
    const AccessibleRef object = testing_support::ClientObjectOf(row.window);
    ASSERT_TRUE(object);
    const std::wstring name = testing_support::ReadNode(object).name;
    SCOPED_TRACE(testing::Message() << "object " << testing::PrintToString(name));
    EXPECT_TRUE(SameObject(object, testing_support::ClientObjectOf(row.window)));
    EXPECT_EQ(WindowOf(object), row.window);
    const AccessibleRef parent = ParentOf(object);
    ASSERT_TRUE(parent);
    EXPECT_FALSE(SameObject(parent, object));
    EXPECT_EQ(WindowOf(parent), row.window) << "the parent is the object's own window's";
    const long focusable = row.window == frame ? 0 : STATE_SYSTEM_FOCUSABLE;
    EXPECT_EQ(testing_support::ReadNode(object).state, row.state | focusable);
    EXPECT_EQ(NavigatedFrom(object, NAVDIR_PREVIOUS), row.previous);
    EXPECT_EQ(NavigatedFrom(object, NAVDIR_NEXT), row.next);
    VARIANT found;
    for (const long direction : {0L, 9L, -1L}) {
      EXPECT_EQ(object->accNavigate(direction, ChildVariant(CHILDID_SELF), &found), E_INVALIDARG);
    }
    EXPECT_EQ(object->accSelect(SELFLAG_TAKESELECTION, ChildVariant(CHILDID_SELF)), E_INVALIDARG);
  }

  // "Quenlit", reached from the frame, is an object of its own in the window's object, and
  // leads on to the link.
  const AccessibleRef frameObject = testing_support::ClientObjectOf(frame);
  VARIANT found;
  ASSERT_EQ(frameObject->accNavigate(NAVDIR_NEXT, ChildVariant(CHILDID_SELF), &found), S_OK);
  const AccessibleRef label = testing_support::AccessibleFrom(V_DISPATCH(&found));
  EXPECT_EQ(WindowOf(label), form);
  EXPECT_EQ(testing_support::ReadNode(ParentOf(label)).role, ROLE_SYSTEM_CLIENT);
  EXPECT_EQ(NavigatedFrom(label, NAVDIR_NEXT), L"http://bbs.example.com");
  EXPECT_EQ(label->accSelect(SELFLAG_TAKEFOCUS, ChildVariant(CHILDID_SELF)), S_FALSE);

  // The focus moves where a reader puts it, and the window's object says where it is.
  HWND third = command(L"刷新后马上生效");
  const AccessibleRef thirdObject = testing_support::ClientObjectOf(third);
  EXPECT_EQ(thirdObject->accSelect(SELFLAG_TAKEFOCUS, ChildVariant(CHILDID_SELF)), S_OK);
  EXPECT_EQ(program.FocusWindow(), third);
  EXPECT_NE(testing_support::ReadNode(thirdObject).state & STATE_SYSTEM_FOCUSED, 0);
  const AccessibleRef formObject = testing_support::ClientObjectOf(form);
  EXPECT_EQ(formObject->accSelect(SELFLAG_TAKEFOCUS, ChildVariant(CHILDID_SELF)), S_OK);
  EXPECT_EQ(frameObject->accSelect(SELFLAG_TAKEFOCUS, ChildVariant(CHILDID_SELF)), S_FALSE)
      << "the frame is never tabbed to";
}

class AccessibilityTest : public ::testing::Test {
 protected:
  void TearDown() override {
    app::form2::Unload();
    app::form1::Unload();
    testing_support::PumpMessages();
  }
  const accessible::ThreadApartment apartment_;
};

TEST_F(AccessibilityTest, BothWindowsReadInOrderWithTheirItemsInPlaceAtBothScales) {
  for (const int dpi : {96, 192}) {
    HWND form = app::form1::Show();
    ASSERT_NE(form, nullptr);
    testing_support::SendDpiChange(form, dpi);
    ExpectForm1Tree(form, dpi);
    const AccessibleRef held = testing_support::ClientObjectOf(form);
    const AccessibleRef command =
        testing_support::ClientObjectOf(GetWindow(GetWindow(form, GW_CHILD), GW_CHILD));
    EXPECT_EQ(accessible::KeptCount(), 6u) << "the window, the frame, four commands";
    skin::SkinRemove(form);
    long count = 0;
    EXPECT_EQ(command->get_accChildCount(&count), CO_E_OBJNOTCONNECTED) << "the skin is gone";
    EXPECT_EQ(accessible::KeptCount(), 2u) << "the commands' objects went with the skin";
    IDispatch* first = nullptr;
    IDispatch* again = nullptr;
    const AccessibleRef frame = testing_support::ClientObjectOf(GetWindow(form, GW_CHILD));
    frame->get_accChild(ChildVariant(1), &first);
    frame->get_accChild(ChildVariant(1), &again);
    EXPECT_TRUE(first != nullptr && first == again) << "the platform's object of a command, kept";
    for (IDispatch* object : {first, again}) {
      if (object != nullptr) object->Release();
    }
    app::form1::Unload();
    EXPECT_EQ(held->get_accChildCount(&count), CO_E_OBJNOTCONNECTED) << "the window is gone";
    EXPECT_EQ(accessible::KeptCount(), 0u);

    HWND instructions = app::form2::Show();
    ASSERT_NE(instructions, nullptr);
    testing_support::SendDpiChange(instructions, dpi);
    ExpectItems(testing_support::ClientObjectOf(instructions), instructions, kForm2, dpi);
    app::form2::Unload();
    EXPECT_EQ(accessible::KeptCount(), 0u) << "nothing is left after a window switch";
  }
}

// From another process, as a screen reader reads the started program: the same tree; each object
// against the platform's rules (WindowFromAccessibleObject, parents, states, accSelect and
// navigation from held objects); and the instructions window's object focused as it opens.
TEST_F(AccessibilityTest, TheStartedProgramReadsTheSameAndKeepsThePlatformsRules) {
  for (const int dpi : {96, 192}) {
    testing_support::RunProgramAtDpi(
        dpi, [dpi](testing_support::RunningProgram& program, HWND form) {
          ExpectForm1Tree(form, dpi);
          ExpectPlatformRules(program, form);
          PostMessageW(FindWindowExW(GetWindow(form, GW_CHILD), nullptr, nullptr, L"说明"),
                       BM_CLICK, 0, 0);
          HWND instructions = program.WaitForWindow(L"使用说明");
          ASSERT_NE(instructions, nullptr);
          ExpectItems(testing_support::ClientObjectOf(instructions), instructions, kForm2, dpi);
          ASSERT_EQ(program.FocusWindow(), instructions);
          EXPECT_EQ(testing_support::ReadNode(testing_support::ClientObjectOf(instructions)).state,
                    STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE);
        });
  }
}

// One round of a reader's ordinary traffic: the main window's, the frame's and a command's
// objects, their names, states, children and the focus, all let go of at the end.
void ReadOneRound(HWND form, HWND frame, HWND command) {
  for (HWND window : {form, frame, command}) {
    const AccessibleRef object = testing_support::ClientObjectOf(window);
    if (!object) continue;
    const VARIANT self = ChildVariant(CHILDID_SELF);
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK) SysFreeString(name);
    VARIANT found;
    object->get_accState(self, &found);
    long count = 0;
    object->get_accChildCount(&count);
    if (count > 0 && object->get_accFocus(&found) == S_OK) VariantClear(&found);
    IDispatch* child = nullptr;
    if (count > 0 && object->get_accChild(ChildVariant(1), &child) == S_OK) child->Release();
  }
}

// As many rounds as the test's budget allows (and enough for a leak to fill a heap's next step),
// in two halves: a leak grows the program's heaps in both, while a one-off step of the platform's
// own machinery (a block it allocates on first need) falls into one. The memory counted leaves out
// the threads that the platform starts and ends by itself to answer the reader's calls.
// MORVANE_READER_ROUNDS asks for an exact number instead, as a run by hand does (4000 rounds: the
// workload that froze the program before its objects were kept).
TEST_F(AccessibilityTest, AReadersTrafficLeavesTheProgramAnsweringWithMemoryFlat) {
  const char* asked = std::getenv("MORVANE_READER_ROUNDS");
  const long exactRounds = asked != nullptr ? std::atol(asked) : 0;
  constexpr ULONGLONG kHalfBudgetMs = 5000;
  constexpr int kWarmUpRounds = 30;
  constexpr long kLeastRoundsPerHalf = 40;  // on a machine too busy for the budget
  constexpr double kMostBytesPerRound = 1024;
  testing_support::RunProgramAtDpi(96, [&](testing_support::RunningProgram& program, HWND form) {
    HWND frame = GetWindow(form, GW_CHILD);
    HWND command = GetWindow(frame, GW_CHILD);
    for (int round = 0; round < kWarmUpRounds; ++round) ReadOneRound(form, frame, command);
    const ULONGLONG start = GetTickCount64();
    long rounds[2] = {0, 0};
    double growth[2] = {0, 0};
    const auto heapBytes = [&] {
      return static_cast<double>(testing_support::PrivateBytesOutsideThreads(program.processId()));
    };
    ASSERT_GT(heapBytes(), 0) << "the program's memory cannot be read";
    for (int half = 0; half < 2; ++half) {
      const double before = heapBytes();
      const ULONGLONG halfStart = GetTickCount64();
      while (exactRounds > 0 ? rounds[half] < (exactRounds + half) / 2
                             : rounds[half] < kLeastRoundsPerHalf ||
                                   GetTickCount64() - halfStart < kHalfBudgetMs) {
        ReadOneRound(form, frame, command);
        ++rounds[half];
      }
      growth[half] = heapBytes() - before;
    }
    DWORD_PTR result = 0;
    // A bound for a hung window, not for a busy one: the traffic above may leave a backlog.
    EXPECT_NE(SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, launch::kReadyTimeoutMs,
                                  &result),
              0)
        << "the program stopped answering after " << rounds[0] + rounds[1] << " rounds";
    const double perRound = std::min(growth[0] / rounds[0], growth[1] / rounds[1]);
    std::printf("%ld rounds in %llu ms; %.0f and %.0f bytes more in the two halves\n",
                rounds[0] + rounds[1], GetTickCount64() - start, growth[0], growth[1]);
    EXPECT_LT(perRound, kMostBytesPerRound) << "the program's memory grows with a reader's traffic";
  });
}

// The action returns to the reader at once and the launch follows from the message loop, if the
// window still takes input then.
// What the link asked ShellExecuteEx to open, in place of opening it.
std::vector<std::wstring> opened;
BOOL WINAPI SeeWhatOpens(SHELLEXECUTEINFOW* info) {
  opened.push_back(info->lpFile);
  return TRUE;
}

TEST_F(AccessibilityTest, TheLinksDefaultActionOpensTheForumAsAClickDoesAfterReturning) {
  // Wine reports its processes as elevated; this is the way of a process that is not.
  opened.clear();
  const app::ForumLinkSeams previous = app::SetForumLinkSeamsForTesting(
      {.elevated = [] { return false; }, .shellExecute = SeeWhatOpens});
  const AccessibleRef root = testing_support::ClientObjectOf(app::form1::Show());
  ASSERT_TRUE(root);
  EXPECT_EQ(root->accDoDefaultAction(ChildVariant(2)), DISP_E_MEMBERNOTFOUND) << "plain text";
  EXPECT_EQ(root->accDoDefaultAction(ChildVariant(3)), S_OK);
  EXPECT_TRUE(opened.empty()) << "the launch ran inside the reader's call";
  testing_support::PumpMessages();
  ASSERT_EQ(opened.size(), 1u) << "the default action opened nothing";
  EXPECT_EQ(opened[0], L"http://bbs.example.com/");

  // Asked while the window took input, but disabled before the click arrives: nothing opens, as
  // a person's click could not open it then.
  HWND form = app::form1::Window();
  EXPECT_EQ(root->accDoDefaultAction(ChildVariant(3)), S_OK);
  EnableWindow(form, FALSE);
  testing_support::PumpMessages();
  EnableWindow(form, TRUE);
  testing_support::PumpMessages();
  EXPECT_EQ(opened.size(), 1u) << "the posted click ran in a disabled window";
  app::SetForumLinkSeamsForTesting(previous);
}

}  // namespace
