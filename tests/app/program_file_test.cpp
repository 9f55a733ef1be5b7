#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

using testing_support::MorvaneExePath;

TEST(ProgramFile, IsAGuiExecutableOfTheTestsArchitecture) {
  HMODULE module = LoadLibraryExW(MorvaneExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr) << "cannot open " << std::string(MorvaneExePath().begin(), MorvaneExePath().end());
  FreeLibrary(module);
}
