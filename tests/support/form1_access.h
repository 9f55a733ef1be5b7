#pragma once

// The real main window of the program, loaded in the test process through the app library, and
// its controls by their identifiers.

#include <windows.h>

#include <array>

namespace testing_support {

struct Form1Windows {
  HWND form;
  HWND frame;
  HWND command1, command2, command3, command4;
  std::array<HWND, 4> commands() const { return {command1, command2, command3, command4}; }
};

// Loads and shows Form1 (its Form_Load installs the skin); unloads it again on destruction.
class LoadedForm1 {
 public:
  LoadedForm1();
  LoadedForm1(const LoadedForm1&) = delete;
  LoadedForm1& operator=(const LoadedForm1&) = delete;
  ~LoadedForm1();
  const Form1Windows& windows() const { return windows_; }

 private:
  Form1Windows windows_{};
};

}  // namespace testing_support
