#include "tests/support/program_launch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/running_program.h"
#include "tests/support/test_paths.h"

namespace {

// The launcher's answer is what the benchmark times: it must be the program's own window, shown
// and fully painted, and a window close must end the program of itself.
TEST(ProgramLaunch, WaitsForTheProgramsPaintedWindowAndClosesIt) {
  const launch::Started started =
      launch::Start(testing_support::MorvaneExePath(), L"", launch::StandardOutput::kNone);
  ASSERT_TRUE(started) << "error " << started.error;
  EXPECT_EQ(started.error, 0u);

  HWND window = launch::WaitUntilReady(started);
  ASSERT_NE(window, nullptr);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  EXPECT_EQ(owner, started.processId);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(launch::Painted(window));
  EXPECT_EQ(testing_support::WindowText(window), L"Morvane");
  EXPECT_EQ(launch::VisibleWindowsOf(started.processId), std::vector<HWND>{window});

  EXPECT_TRUE(launch::CloseAndWait(started, window)) << "it had to be ended";
  DWORD exitCode = STILL_ACTIVE;
  GetExitCodeProcess(started.process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

// A start that cannot come to a window is reported at once, not after the whole wait.
TEST(ProgramLaunch, ReportsAStartThatGivesNoWindow) {
  const launch::Started missing =
      launch::Start(testing_support::MorvaneExePath() + L".missing", L"");
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(missing.output) << "no pipe is left open for a program that never ran";

  // /status answers on its standard output and ends without a window.
  const launch::Started status =
      launch::Start(testing_support::MorvaneExePath(), L"/status", launch::StandardOutput::kPipe);
  ASSERT_TRUE(status) << "error " << status.error;
  const ULONGLONG before = GetTickCount64();
  EXPECT_EQ(launch::WaitUntilReady(status), nullptr);
  EXPECT_LT(GetTickCount64() - before, launch::kReadyTimeoutMs / 2) << "the end was not noticed";
  EXPECT_NE(launch::ReadAll(status.output.get()), "");
}

}  // namespace
