// The program's switches, end to end with the real registry editor: exit codes, the value, and
// the line written to a redirected output, to a console, or the usage box without either; and
// how a line is encoded for a file or pipe.

#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/switches/command_line.h"
#include "tests/support/inline_images_value.h"
#include "tests/support/payload_text.h"
#include "tests/support/pictures.h"
#include "tests/support/program_launch.h"
#include "tests/support/running_form.h"
#include "tests/support/test_paths.h"
#include "win/dll_search.h"
#include "win/unique_handle.h"

namespace {

using payload_tests::InlineImagesValue;
using payload_tests::RunWithSwitch;
using payload_tests::SetInlineImagesValue;
using payload_tests::SwitchProcess;
using testing_support::StandardOutput;

constexpr UINT kChineseCodePage = 936;
constexpr UINT kUsEnglishCodePage = 437;
constexpr UINT kWesternCodePage = 1252;
// How long a switch may take before the test counts it as waiting on a box nobody answers.
constexpr DWORD kSwitchMs = 15000;
const std::wstring kShownLine = L"内嵌图片当前为显示状态。";
const std::wstring kHideLine = L"“关闭内嵌图片”成功，刷新后即可生效！";

std::string InCodePage(UINT codePage, const std::wstring& text) {
  std::string bytes(text.size() * 4, '\0');
  bytes.resize(static_cast<size_t>(
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          static_cast<int>(bytes.size()), nullptr, nullptr)));
  return bytes;
}

std::string Gbk(const std::wstring& text) { return InCodePage(kChineseCodePage, text); }
std::string Utf8(const std::wstring& text) { return InCodePage(CP_UTF8, text); }

// The usage as the switches write it to this test's console code page.
std::string UsageLine() { return Gbk(app::UsageText() + L"\r\n"); }

std::wstring FromCodePage(UINT codePage, const std::string& bytes) {
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<size_t>(MultiByteToWideChar(codePage, 0, bytes.data(),
                                                      static_cast<int>(bytes.size()), text.data(),
                                                      static_cast<int>(text.size()))));
  return text;
}

// A UTF-8 file's text, empty when it cannot be read.
std::wstring ReadUtf8File(const std::wstring& path) {
  const payload_tests::Bytes bytes = payload_tests::ReadFileBytes(path);
  return FromCodePage(CP_UTF8, std::string(bytes.begin(), bytes.end()));
}

// A line that converts exactly keeps the code page; one that would lose a character to the
// default character or to a best-fit look-alike goes out as UTF-8.
TEST(OutputLine, TheCodePageOnlyWhenEveryCharacterConvertsExactly) {
  EXPECT_EQ(app::EncodeOutputLine(kShownLine, kChineseCodePage), Gbk(kShownLine));
  EXPECT_EQ(app::EncodeOutputLine(kShownLine, kUsEnglishCodePage), Utf8(kShownLine));
  EXPECT_EQ(app::EncodeOutputLine(L"“yes” é", kWesternCodePage), "\x93yes\x94 \xE9");
  EXPECT_EQ(app::EncodeOutputLine(L"“yes” Ā", kWesternCodePage), Utf8(L"“yes” Ā")) << "best fit";
  EXPECT_EQ(app::EncodeOutputLine(L"“yes”", kUsEnglishCodePage), Utf8(L"“yes”")) << "best fit";
}

// A start without a switch is told apart without the platform's parser (and its DLL): exactly
// the command lines that CommandLineToArgvW splits into the program's name alone.
TEST(ProgramNameAlone, AgreesWithThePlatformsParser) {
  const wchar_t* const lines[] = {
      L"Morvane.exe",
      L"\"C:\\Program Files\\Morvane\\Morvane.exe\"",
      L"\"C:\\Program Files\\Morvane.exe\"  \t ",
      L"C:\\Tools\\Morvane.exe \t",
      L"\"C:\\Program Files\\Morvane.exe\" /status",
      L"\"C:\\Program Files\\Morvane.exe\"/status",
      L"Morvane.exe /show",
      L"Morvane.exe\t/hide",
      L"Morvane.exe \"\"",
      L"\"C:\\unclosed quote\\Morvane.exe /show",
      L"Morvane.exe\n",
  };
  for (const wchar_t* line : lines) {
    SCOPED_TRACE(testing::Message() << "[" << testing::PrintToString(std::wstring(line)) << "]");
    int count = 0;
    const win::LocalMemory<LPWSTR*> arguments(CommandLineToArgvW(line, &count));
    ASSERT_TRUE(arguments);
    EXPECT_EQ(app::NamesProgramOnly(line), count == 1);
  }
  EXPECT_TRUE(app::NamesProgramOnly(L"")) << "CommandLineToArgvW gives the program's path alone";
  EXPECT_EQ(app::ParseCommandLine(L"Morvane.exe  /STATUS"), app::CommandSwitch::kStatus);
  EXPECT_EQ(app::ParseCommandLine(L"Morvane.exe /show /hide"), app::CommandSwitch::kInvalid);
}

// The usage's first line names exactly the switches that have a line of their own, in their order,
// and each of them is one the parser takes, a different one each, "-" as well as "/": a switch
// that the parser knew but the usage left out (or the other way round) fails here.
TEST(Usage, NamesEverySwitchThatTheParserTakes) {
  const std::wstring usage = app::UsageText();
  const std::wstring first = usage.substr(0, usage.find(L"\r\n"));
  const std::wstring lead = L"用法：Morvane [";
  ASSERT_EQ(first.rfind(lead, 0), 0u) << Utf8(first);
  ASSERT_EQ(first.back(), L']') << Utf8(first);
  std::vector<std::wstring> named;
  const std::wstring list = first.substr(lead.size(), first.size() - lead.size() - 1);
  for (size_t start = 0, end;; start = end + 3) {
    end = list.find(L" | ", start);
    named.push_back(list.substr(start, end - start));
    if (end == std::wstring::npos) break;
  }
  std::vector<std::wstring> withLines;
  const std::wstring linePrefix = L"\r\n  Morvane ";
  for (size_t at = usage.find(linePrefix); at != std::wstring::npos;
       at = usage.find(linePrefix, at + 1)) {
    const size_t nameStart = at + linePrefix.size();
    withLines.push_back(usage.substr(nameStart, usage.find(L' ', nameStart) - nameStart));
  }
  EXPECT_EQ(named, withLines);

  std::vector<app::CommandSwitch> parsed;
  for (const std::wstring& name : named) {
    SCOPED_TRACE(Utf8(name));
    const app::CommandSwitch slash = app::ParseCommandLine((L"Morvane.exe " + name).c_str());
    EXPECT_NE(slash, app::CommandSwitch::kInvalid);
    EXPECT_NE(slash, app::CommandSwitch::kNone);
    EXPECT_EQ(app::ParseCommandLine((L"Morvane.exe -" + name.substr(1)).c_str()), slash);
    EXPECT_EQ(std::count(parsed.begin(), parsed.end(), slash), 0) << "two names for one switch";
    parsed.push_back(slash);
  }
  for (app::CommandSwitch known : {app::CommandSwitch::kShow, app::CommandSwitch::kHide,
                                   app::CommandSwitch::kStatus, app::CommandSwitch::kUsage}) {
    EXPECT_EQ(std::count(parsed.begin(), parsed.end(), known), 1)
        << "switch " << static_cast<int>(known) << " is missing from the usage";
  }
}

// Without SetDefaultDllDirectories (Windows 7 SP1 without update KB2533623) /status says in a line
// of its own that DLLs beside the program may still be loaded; elsewhere it writes the state only,
// as under Wine (the end-to-end runs below see one line).
TEST(StatusReport, ASecondLineOnlyWhereTheDllSearchCannotBeRestricted) {
  EXPECT_TRUE(win::CanRestrictDllSearch());
  const std::wstring hiddenLine = L"内嵌图片当前为关闭状态。";
  EXPECT_EQ(app::StatusReport(kShownLine, true), kShownLine);
  EXPECT_EQ(app::StatusReport(hiddenLine, true), hiddenLine);
  for (const std::wstring& status : {std::wstring(kShownLine), hiddenLine}) {
    const std::wstring report = app::StatusReport(status, false);
    const size_t lineEnd = report.find(L"\r\n");
    ASSERT_NE(lineEnd, std::wstring::npos);
    EXPECT_EQ(report.substr(0, lineEnd), status);
    const std::wstring note = report.substr(lineEnd + 2);
    EXPECT_NE(note.find(L"KB2533623"), std::wstring::npos);
    EXPECT_NE(note.find(L"Windows 7 SP1"), std::wstring::npos);
    EXPECT_EQ(note.find_first_of(L"\r\n"), std::wstring::npos) << "one line";
  }
}

// This test process gets a console of its own in the Chinese code page, as a helpdesk's would
// be, and gives it up afterwards; the value is put back.
class CommandLine : public testing::Test {
 protected:
  void SetUp() override {
    FreeConsole();  // whatever Wine attached the test to
    ASSERT_TRUE(AllocConsole() && SetConsoleOutputCP(kChineseCodePage));
    console_.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
  }
  void TearDown() override {
    console_.reset();
    FreeConsole();
  }

  // What the console shows on the row above its cursor, trailing blanks removed.
  std::wstring LastConsoleLine() const {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(console_.get(), &info);
    std::wstring line(static_cast<size_t>(info.dwSize.X), L' ');
    DWORD read = 0;
    const COORD row = {0, static_cast<SHORT>(info.dwCursorPosition.Y - 1)};
    ReadConsoleOutputCharacterW(console_.get(), line.data(), info.dwSize.X, row, &read);
    return line.erase(line.find_last_not_of(L' ') + 1);
  }

  win::KernelHandle console_;
  payload_tests::InlineImagesValueKeeper keeper_;
};

TEST_F(CommandLine, SwitchesSetAndReportTheValueWithTheirExitCodeAndOneLine) {
  ASSERT_TRUE(SetInlineImagesValue(std::nullopt));
  const payload_tests::SwitchRun status = RunWithSwitch(L"/status");
  EXPECT_EQ(status.exitCode, 0u) << "no value: shown; start error " << status.startError;
  EXPECT_EQ(status.output, Gbk(kShownLine + L"\r\n"));
  const payload_tests::SwitchRun hide = RunWithSwitch(L"/hide");
  EXPECT_EQ(hide.exitCode, 0u);
  EXPECT_EQ(hide.output, Gbk(kHideLine + L"\r\n"));
  EXPECT_EQ(InlineImagesValue(), std::wstring(L"no"));
  EXPECT_EQ(RunWithSwitch(L"-STATUS").exitCode, 1u);
  EXPECT_EQ(RunWithSwitch(L"/Show").exitCode, 0u);
  EXPECT_EQ(InlineImagesValue(), std::wstring(L"yes"));

  // Without redirection the line goes to the console the program was started from.
  EXPECT_EQ(SwitchProcess(L"/status", StandardOutput::kNone).Finish().exitCode, 0u);
  EXPECT_EQ(LastConsoleLine(), kShownLine);

  // Anything else changes nothing and shows the usage that /? shows.
  const payload_tests::SwitchRun usage = RunWithSwitch(L"/?");
  EXPECT_EQ(usage.exitCode, 0u);
  EXPECT_EQ(usage.output, UsageLine());
  ASSERT_TRUE(SetInlineImagesValue(std::wstring(L"other")));
  for (const wchar_t* arguments : {L"/bogus", L"show", L"/show /hide"}) {
    const payload_tests::SwitchRun bad = RunWithSwitch(arguments);
    EXPECT_EQ(bad.exitCode, 2u);
    EXPECT_EQ(bad.output, UsageLine());
    EXPECT_EQ(InlineImagesValue(), std::wstring(L"other"));
  }
  EXPECT_EQ(RunWithSwitch(L"/status").exitCode, 1u) << "a value other than yes counts as hidden";
}

// The README.txt of the download, as the release writes it, holds every line of the usage (which
// /? prints, as the switches' test shows) but its first, the exit codes included, as lines of its
// own.
TEST(Usage, TheDownloadsReadmeHoldsTheUsageLinesAsTheProgramPrintsThem) {
  const std::wstring usage = app::UsageText() + L"\r\n";
  const std::wstring readme = ReadUtf8File(testing_support::ReleaseReadmePath());
  ASSERT_FALSE(readme.empty());
  EXPECT_EQ(readme.find(L"{switches}"), std::wstring::npos);
  size_t start = usage.find(L"\r\n");
  ASSERT_NE(start, std::wstring::npos);
  int lines = 0;
  for (size_t end; (end = usage.find(L"\r\n", start + 2)) != std::wstring::npos; start = end) {
    const std::wstring line = usage.substr(start + 2, end - start - 2);
    EXPECT_NE(readme.find(L"\n" + line + L"\n"), std::wstring::npos) << Utf8(line);
    ++lines;
  }
  EXPECT_EQ(lines, 6) << "four switches, every other argument and another account";
}

TEST_F(CommandLine, WithoutAConsoleTheUsageIsABoxAndResultsOnlyTheExitCode) {
  FreeConsole();
  ASSERT_TRUE(SetInlineImagesValue(std::wstring(L"no")));
  EXPECT_EQ(SwitchProcess(L"/show", StandardOutput::kNone).Finish().exitCode, 0u)
      << "ended without a box";
  EXPECT_EQ(InlineImagesValue(), std::wstring(L"yes"));

  SwitchProcess bad(L"/bogus", StandardOutput::kNone);
  const testing_support::MessageBoxSeen box = bad.WaitForMessageBox();
  EXPECT_TRUE(launch::WaitUntilPainted(box.window)) << "the box did not paint";
  RECT area{};
  GetWindowRect(box.window, &area);
  testing_support::SaveScreenPicture(area, L"box_usage.bmp");
  EXPECT_EQ(box.title, L"提示");
  EXPECT_EQ(box.text, app::UsageText());
  EXPECT_TRUE(testing_support::AnswerMessageBox(box));
  EXPECT_EQ(bad.Finish().exitCode, 2u);
}

// Any standard output or error, NUL or standard error alone included, takes the line and no box
// shows: a script with nobody at the desktop must never wait on one. Text that the console's
// code page cannot hold goes to a pipe as UTF-8.
TEST_F(CommandLine, AnyOutputHandleTakesTheLineAndNoBoxEverShows) {
  const payload_tests::SwitchRun errorOnly =
      SwitchProcess(L"/bogus", StandardOutput::kErrorPipe).Finish(kSwitchMs);
  EXPECT_EQ(errorOnly.exitCode, 2u);
  EXPECT_EQ(errorOnly.output, UsageLine());

  ASSERT_TRUE(SetInlineImagesValue(std::nullopt));
  ASSERT_TRUE(SetConsoleOutputCP(kUsEnglishCodePage));
  EXPECT_EQ(RunWithSwitch(L"/status").output, Utf8(kShownLine + L"\r\n"));
  EXPECT_EQ(SwitchProcess(L"/status", StandardOutput::kNul).Finish(kSwitchMs).exitCode, 0u);
  EXPECT_EQ(LastConsoleLine(), L"") << "the line went to the console, not to NUL";

  FreeConsole();
  EXPECT_EQ(SwitchProcess(L"/bogus", StandardOutput::kNul).Finish(kSwitchMs).exitCode, 2u)
      << "the usage waited in a box";
}

}  // namespace
