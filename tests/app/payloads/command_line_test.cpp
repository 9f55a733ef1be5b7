// The program's switches, end to end with the real registry editor: exit codes, the value, and
// the line written to a redirected output, to a console, or the usage box without either.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "tests/app/payloads/inline_images_value.h"
#include "tests/app/payloads/running_form.h"

namespace {

using app::CommandSwitch;
using payload_tests::InlineImagesValue;
using payload_tests::RunWithSwitch;
using payload_tests::SetInlineImagesValue;
using payload_tests::SwitchProcess;
using payload_tests::SwitchRun;

constexpr UINT kChineseCodePage = 936;
const std::wstring kShownLine = L"内嵌图片当前为显示状态。";
const std::wstring kHiddenLine = L"内嵌图片当前为关闭状态。";
const std::wstring kHideLine = L"“关闭内嵌图片”成功，刷新后即可生效！";

std::string InCodePage(const std::wstring& text, UINT codePage) {
  std::string bytes(text.size() * 4, '\0');
  bytes.resize(static_cast<size_t>(
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          static_cast<int>(bytes.size()), nullptr, nullptr)));
  return bytes;
}

std::wstring FromCodePage(const std::string& bytes, UINT codePage) {
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<size_t>(MultiByteToWideChar(codePage, 0, bytes.data(),
                                                      static_cast<int>(bytes.size()), text.data(),
                                                      static_cast<int>(text.size()))));
  return text;
}

// This test process gets a console of its own in the Chinese code page, as a helpdesk's would
// be, and gives it up afterwards; the value is put back.
class CommandLine : public testing::Test {
 protected:
  void SetUp() override {
    FreeConsole();  // whatever Wine attached the test to
    ASSERT_TRUE(AllocConsole());
    ASSERT_TRUE(SetConsoleOutputCP(kChineseCodePage));
    console_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  void TearDown() override {
    CloseHandle(console_);
    FreeConsole();
  }

  // The text the console shows from row `from` up to its cursor, trailing blanks removed.
  std::wstring ConsoleTextFrom(SHORT from) const {
    std::wstring text;
    for (SHORT row = from; row < CursorRow(); ++row) {
      std::wstring line(static_cast<size_t>(Width()), L' ');
      DWORD read = 0;
      ReadConsoleOutputCharacterW(console_, line.data(), Width(), COORD{0, row}, &read);
      text += line;
    }
    return text.erase(text.find_last_not_of(L' ') + 1);
  }

  SHORT CursorRow() const { return Info().dwCursorPosition.Y; }
  DWORD Width() const { return static_cast<DWORD>(Info().dwSize.X); }
  CONSOLE_SCREEN_BUFFER_INFO Info() const {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(console_, &info);
    return info;
  }

  HANDLE console_ = INVALID_HANDLE_VALUE;
  payload_tests::InlineImagesValueKeeper keeper_;
};

TEST(CommandLineParse, SwitchesAreCaseBlindWithSlashOrDashAndStandAlone) {
  const struct {
    const wchar_t* line;
    CommandSwitch expected;
  } kCases[] = {
      {L"Morvane.exe", CommandSwitch::kNone},
      {L"\"C:\\a b\\Morvane.exe\"  ", CommandSwitch::kNone},
      {L"Morvane.exe /show", CommandSwitch::kShow},
      {L"Morvane.exe -HIDE", CommandSwitch::kHide},
      {L"Morvane.exe /Status", CommandSwitch::kStatus},
      {L"Morvane.exe -?", CommandSwitch::kUsage},
      {L"Morvane.exe show", CommandSwitch::kInvalid},
      {L"Morvane.exe /show /hide", CommandSwitch::kInvalid},
      {L"Morvane.exe /", CommandSwitch::kInvalid},
      {L"Morvane.exe \"\"", CommandSwitch::kInvalid},
      {L"Morvane.exe /shows", CommandSwitch::kInvalid},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(app::ParseCommandLine(c.line), c.expected)
        << std::string(c.line, c.line + wcslen(c.line));
  }
}

TEST_F(CommandLine, SwitchesSetAndReportTheValueWithTheirExitCodeAndOneLine) {
  const auto line = [](const std::wstring& text) {
    return InCodePage(text + L"\r\n", kChineseCodePage);
  };
  ASSERT_TRUE(SetInlineImagesValue(std::nullopt));
  SwitchRun run = RunWithSwitch(L"/status");
  EXPECT_EQ(run.exitCode, 0u) << "no value: shown";
  EXPECT_EQ(run.output, line(kShownLine));

  run = RunWithSwitch(L"/hide");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.output, line(kHideLine));
  EXPECT_EQ(InlineImagesValue(), std::wstring(L"no"));
  EXPECT_EQ(RunWithSwitch(L"-STATUS").exitCode, 1u);
  EXPECT_EQ(RunWithSwitch(L"/Show").exitCode, 0u);
  EXPECT_EQ(InlineImagesValue(), std::wstring(L"yes"));

  // Without redirection the line goes to the console the program was started from.
  SHORT row = CursorRow();
  EXPECT_EQ(SwitchProcess(L"/status", false).Finish().exitCode, 0u);
  EXPECT_EQ(ConsoleTextFrom(row), kShownLine);
  row = CursorRow();
  EXPECT_EQ(SwitchProcess(L"/hide", false).Finish().exitCode, 0u);
  EXPECT_EQ(ConsoleTextFrom(row), kHideLine);

  // Anything else changes nothing and shows the usage that /? shows.
  const SwitchRun usage = RunWithSwitch(L"/?");
  EXPECT_EQ(usage.exitCode, 0u);
  EXPECT_EQ(FromCodePage(usage.output, kChineseCodePage).rfind(L"用法：", 0), 0u);
  ASSERT_TRUE(SetInlineImagesValue(std::wstring(L"unchanged")));
  for (const wchar_t* arguments : {L"/bogus", L"show", L"/show /hide"}) {
    run = RunWithSwitch(arguments);
    EXPECT_EQ(run.exitCode, 2u) << std::string(arguments, arguments + wcslen(arguments));
    EXPECT_EQ(run.output, usage.output);
    EXPECT_EQ(RunWithSwitch(L"/status").exitCode, 1u) << "a value other than yes counts as hidden";
    EXPECT_EQ(InlineImagesValue(), std::wstring(L"unchanged"));
  }
}

TEST_F(CommandLine, WithoutAConsoleTheUsageIsABoxAndResultsOnlyTheExitCode) {
  const std::wstring usage = FromCodePage(RunWithSwitch(L"/?").output, kChineseCodePage);
  FreeConsole();
  ASSERT_TRUE(SetInlineImagesValue(std::wstring(L"no")));
  EXPECT_EQ(SwitchProcess(L"/status", false).Finish().exitCode, 1u);
  EXPECT_EQ(SwitchProcess(L"/show", false).Finish().exitCode, 0u) << "ended without a box";
  EXPECT_EQ(InlineImagesValue(), std::wstring(L"yes"));

  SwitchProcess bad(L"/bogus", false);
  const payload_tests::MessageBoxSeen box = payload_tests::WaitForMessageBoxOf(bad.processId());
  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.title, L"提示");
  EXPECT_EQ(box.text + L"\r\n", usage);
  EXPECT_TRUE(payload_tests::AnswerMessageBox(box));
  EXPECT_EQ(bad.Finish().exitCode, 2u);
}

}  // namespace
