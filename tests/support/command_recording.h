#pragma once

// Puts command_recorder.exe in place of system programs in the system directory of the test's
// Wine prefix, so that a test sees exactly which command line the program under test starts,
// with which window-show state and current directory, without running the real program. The
// originals come back when the recording ends (and at the start of the next one, should a test
// have crashed in between). 64-bit Wine runs its built-in programs in place of files in the
// system directory unless told otherwise; the test's CTest environment asks it to prefer the
// files (native, then built-in) for the names stood in for, and a probe start checks that the
// stand-in really runs before a test presses anything.

#include <windows.h>

#include <string>
#include <vector>

#include "win/unique_handle.h"

namespace testing_support {

struct RecordedStart {
  bool usesShowWindow = false;  // STARTF_USESHOWWINDOW was set
  int showWindow = 0;           // wShowWindow
  std::wstring directory;       // current directory of the started process
  std::wstring commandLine;
};

class CommandRecording {
 public:
  // fileNames: programs of the system directory to stand in for, e.g. L"cmd.exe", or full paths
  // of programs elsewhere (explorer.exe in the Windows directory).
  explicit CommandRecording(std::vector<std::wstring> fileNames);
  ~CommandRecording();
  CommandRecording(const CommandRecording&) = delete;
  CommandRecording& operator=(const CommandRecording&) = delete;

  // True when every stand-in is in place and has been seen to run in place of the original.
  bool ready() const { return ready_; }

  // Waits until one more start has been recorded since the last wait; false on timeout.
  bool WaitForStart(DWORD timeoutMs);

  // Every start recorded so far, in the order they were written.
  std::vector<RecordedStart> Starts() const;

 private:
  bool Probe(const std::wstring& fileName);

  std::vector<std::wstring> fileNames_;
  std::wstring logPath_;
  win::KernelHandle event_;
  bool ready_ = false;
};

// The processes alive now that `parentId` started; -1 when the list of processes cannot be
// taken. A program's start has made its process by the time the call that starts it returns, and
// the recorder writes its record before it ends: a program that started nothing up to a moment
// it showed (its next box) has neither a record nor a child process then, with nothing to wait
// for.
int ChildProcessCount(DWORD parentId);

}  // namespace testing_support
