#pragma once

// Starting a program as a process of its own and waiting for its window, as a user sees it come
// up: written once for the tests (RunningProgram) and the start-up benchmark. It needs neither
// GoogleTest nor a message loop of the caller's, so the benchmark links it without the tests'
// support.

#include <windows.h>

#include <string>
#include <vector>

#include "win/unique_handle.h"

namespace launch {

// What a started program is given as its standard output and error.
enum class StandardOutput {
  kNone,       // no handle: it finds any console on its own
  kPipe,       // both into one pipe that ReadAll reads
  kErrorPipe,  // no standard output; standard error into that pipe
  kNul,        // both to the NUL device
};

// A started program: its process and, where a pipe was asked for, the pipe's read end.
struct Started {
  win::KernelHandle process;
  win::KernelHandle output;
  DWORD processId = 0;
  DWORD threadId = 0;
  DWORD error = 0;  // GetLastError of the step that failed; 0 when the program started

  explicit operator bool() const { return static_cast<bool>(process); }
};

// How long a start may take before the caller gives up on it, and how long a closed program may
// take to end, on a loaded machine under Wine.
inline constexpr DWORD kReadyTimeoutMs = 20000;
inline constexpr DWORD kExitTimeoutMs = 10000;

// Starts `program` with the arguments (the command line quotes the program's path) and the given
// standard output and error. The program inherits this process's environment.
Started Start(const std::wstring& program, const std::wstring& arguments,
              StandardOutput output = StandardOutput::kNone);

// The visible top-level windows of the process, in Z order.
std::vector<HWND> VisibleWindowsOf(DWORD processId);

// True when neither the window nor any visible window inside it waits for a paint.
bool Painted(HWND window);

// Waits until the window (of any process) and every visible window inside it have painted and
// it answers WM_NULL; false when that took longer than timeoutMs or the window went.
bool WaitUntilPainted(HWND window, DWORD timeoutMs = kReadyTimeoutMs);

// Waits until a top-level window of the program is visible, painted and answers WM_NULL, and
// returns it; null when the program ended first or took longer than timeoutMs.
HWND WaitUntilReady(const Started& started, DWORD timeoutMs = kReadyTimeoutMs);

// Posts WM_CLOSE to the window (as its close box does; none when null) and waits for the program
// to end; a program that has not ended within timeoutMs is terminated. True when it ended by
// itself.
bool CloseAndWait(const Started& started, HWND window, DWORD timeoutMs = kExitTimeoutMs);

// Everything written into the pipe until its last write end closed.
std::string ReadAll(HANDLE readEnd);

}  // namespace launch
