// The sentence about the inline-image setting for each state of "Display Inline Images", read
// from the registry as /status and the main window read it, and /status's exit code for it; and a
// change made by another process showing in the started program's next tooltip and in its
// commands' accessible description.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "accessible/thread_apartment.h"
#include "app/repair/inline_images_status.h"
#include "app/repair/registry_payload.h"
#include "app/switches/command_line.h"
#include "tests/support/accessible_reading.h"
#include "tests/support/inline_images_value.h"
#include "tests/support/message_pump.h"
#include "tests/support/pointer_input.h"
#include "tests/support/running_form.h"
#include "tests/support/running_program.h"

namespace {

using app::InlineImagesState;
using payload_tests::InlineImagesValueKeeper;
using testing_support::MovePointerOnto;
using testing_support::MovePointerTo;
using testing_support::WaitUntil;

const std::wstring kShown = L"内嵌图片当前为显示状态。";
const std::wstring kHidden = L"内嵌图片当前为关闭状态。";
// A value the program did not write: the sentence says that either command puts it right.
const std::wstring kEitherMends = L"使用“显示内嵌图片”或“关闭内嵌图片”都可以将它改为有效的值。";
const std::wstring kWrongType =
    L"“Display Inline Images”的值不是字符串，无法判断内嵌图片当前是否显示。" + kEitherMends;
const std::wstring kNoAccess =
    L"无权读取“Display Inline Images”的值，无法判断内嵌图片当前是否显示。";
std::wstring Other(const std::wstring& quoted) {
  return L"“Display Inline Images”当前的值为“" + quoted + L"”，既不是 yes 也不是 no。" +
         kEitherMends;
}

enum class Stored { kNothing, kString, kNumber, kLockedKey };

struct StatusCase {
  const char* what;
  Stored stored;
  std::wstring text;
  InlineImagesState state;
  std::wstring sentence;
};

bool Store(Stored stored, const std::wstring& text) {
  if (stored != Stored::kNumber) {
    return payload_tests::SetInlineImagesValue(
        stored == Stored::kNothing ? std::nullopt : std::optional<std::wstring>(text));
  }
  const DWORD number = 0;
  return RegSetKeyValueW(HKEY_CURRENT_USER, app::kInlineImagesKey, app::kInlineImagesValueName,
                         REG_DWORD, &number, sizeof number) == ERROR_SUCCESS;
}

TEST(InlineImagesStatus, EachStateOfTheValueReadsAsItsOwnSentence) {
  const std::wstring longValue = L"a\tb" + std::wstring(60, L'x');
  const std::vector<StatusCase> cases = {
      {"no value", Stored::kNothing, L"", InlineImagesState::kShown, kShown},
      {"yes", Stored::kString, L"yes", InlineImagesState::kShown, kShown},
      {"YES in capitals", Stored::kString, L"YES", InlineImagesState::kShown, kShown},
      {"no", Stored::kString, L"no", InlineImagesState::kHidden, kHidden},
      {"No in capitals", Stored::kString, L"No", InlineImagesState::kHidden, kHidden},
      {"another string", Stored::kString, L"maybe", InlineImagesState::kOther, Other(L"maybe")},
      {"an empty string", Stored::kString, L"", InlineImagesState::kOther, Other(L"")},
      {"a long string with a tab", Stored::kString, longValue, InlineImagesState::kOther,
       Other(L"a b" + std::wstring(36, L'x') + L"…")},
      {"a number", Stored::kNumber, L"", InlineImagesState::kWrongType, kWrongType},
      {"a key the user may not read", Stored::kLockedKey, L"yes", InlineImagesState::kNoAccess,
       kNoAccess},
  };
  const InlineImagesValueKeeper keeper;
  for (const StatusCase& test : cases) {
    SCOPED_TRACE(test.what);
    ASSERT_TRUE(
        Store(test.stored == Stored::kLockedKey ? Stored::kString : test.stored, test.text));
    std::optional<payload_tests::LockedInlineImagesKey> locked;
    if (test.stored == Stored::kLockedKey) {
      locked.emplace();
      ASSERT_TRUE(locked->locked());
    }
    const app::InlineImagesSetting setting = app::ReadInlineImagesSetting();
    EXPECT_EQ(setting.state, test.state);
    EXPECT_EQ(app::InlineImagesStatusText(setting), test.sentence);
    // Only a value that reads as shown is reported as shown; /status writes the sentence.
    EXPECT_EQ(app::RunCommandSwitch(app::CommandSwitch::kStatus),
              test.state == InlineImagesState::kShown ? app::kExitHolds : app::kExitNotHeld);
  }
  // Any other failure names its error code and never reads as a state.
  EXPECT_EQ(
      app::InlineImagesStatusText(app::ClassifyInlineImagesValue(ERROR_INVALID_HANDLE, 0, {})),
      L"无法读取“Display Inline Images”的值（错误 6），无法判断内嵌图片当前是否显示。");
}

// --- The started program --------------------------------------------------------------------

// The text of the program's tooltip while it shows; empty while none shows. A tooltip answers
// WM_GETTEXT with the text it shows, and the system carries that message across processes
// (GetWindowText would not send it to another process's window).
std::wstring ShownTooltipText(const testing_support::RunningProgram& program) {
  for (HWND window : program.VisibleWindows()) {
    if (testing_support::ClassNameOf(window) != TOOLTIPS_CLASSW) continue;
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, 5000, &length) == 0) {
      return {};
    }
    return std::wstring(text, std::min<size_t>(length, std::size(text) - 1));
  }
  return {};
}

// What a reader hears after the command's name, read from this process.
std::wstring DescriptionOf(HWND button) {
  return testing_support::ReadNode(testing_support::ClientObjectOf(button)).description;
}

TEST(InlineImagesStatus, AChangeFromAnotherProcessShowsInTheNextTooltipAndDescription) {
  const accessible::ThreadApartment apartment;
  const InlineImagesValueKeeper keeper;
  ASSERT_TRUE(payload_tests::SetInlineImagesValue(L"yes"));
  const payload_tests::RunningForm program;
  ASSERT_NE(program.form(), nullptr);
  HWND command2 = program.Button(L"显示内嵌图片");
  HWND command3 = program.Button(L"关闭内嵌图片");
  ASSERT_NE(command2, nullptr);
  ASSERT_NE(command3, nullptr);

  MovePointerTo(2, 2);
  MovePointerOnto(command2);
  EXPECT_TRUE(WaitUntil([&] { return ShownTooltipText(program) == kShown; }, 10000))
      << "tooltip: " << testing::PrintToString(ShownTooltipText(program));
  EXPECT_EQ(DescriptionOf(command2), kShown);
  EXPECT_EQ(DescriptionOf(program.Button(L"说明")), L"") << "the other commands have none";

  ASSERT_TRUE(payload_tests::SetInlineImagesValue(L"no"));  // by this process

  // The pointer leaves, and comes over the other repair command: its tooltip reads the value now.
  MovePointerTo(2, 2);
  EXPECT_TRUE(WaitUntil([&] { return ShownTooltipText(program).empty(); }, 10000));
  MovePointerOnto(command3);
  EXPECT_TRUE(WaitUntil([&] { return ShownTooltipText(program) == kHidden; }, 10000))
      << "tooltip: " << testing::PrintToString(ShownTooltipText(program));
  EXPECT_EQ(DescriptionOf(command2), kHidden);
  EXPECT_EQ(DescriptionOf(command3), kHidden);
  // The skin's hover tracking goes on beside the tooltip's.
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropA(command3, "MOUSEFLAG")), 1);
  MovePointerTo(2, 2);
}

}  // namespace
