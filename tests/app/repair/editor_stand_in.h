#pragma once

// A stand-in for the system registry editor. While an EditorStandIn lives, regedit.exe in the
// Windows directory of the test prefix is replaced by a copy of this test program; started
// under that name, the program does not run its tests but records its arguments, its whole
// command line, its __COMPAT_LAYER environment variable and a copy of the file it was asked to
// import, tries to overwrite that file, then exits at once (it imports nothing), when released,
// or never. The original editor is put back when the EditorStandIn ends.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/payload_text.h"
#include "win/unique_handle.h"

namespace payload_tests {

class EditorStandIn {
 public:
  enum class Mode {
    kExitAtOnce,  // record, then end without importing anything
    kHang,        // record, then never end
    kHeld,        // record, then end without importing once Release is called
    kMissing,     // no editor at all
  };

  explicit EditorStandIn(Mode mode);
  EditorStandIn(const EditorStandIn&) = delete;
  EditorStandIn& operator=(const EditorStandIn&) = delete;
  ~EditorStandIn();

  // False when the real editor could not be set aside.
  bool installed() const { return installed_; }

  // Lets a held stand-in end.
  void Release() const { SetEvent(release_.get()); }

  // The arguments of every start of the stand-in so far, in order.
  std::vector<std::vector<std::wstring>> Starts() const;

  // The content the file named in the last start had when the stand-in read it.
  Bytes LastImportFile() const;
  // Whether the last start could overwrite that file; nothing when it was given none.
  std::optional<bool> OverwroteImportFile() const;

  // The command line of the last start, and its __COMPAT_LAYER variable (nothing when unset).
  std::wstring LastCommandLine() const;
  std::optional<std::wstring> LastCompatLayer() const;

 private:
  std::wstring editor_;
  std::wstring backup_;
  bool installed_ = false;
  win::KernelHandle release_;
};

// How many processes whose program file is named name (e.g. L"regedit.exe") are running.
int CountProcessesNamed(const wchar_t* name);

}  // namespace payload_tests
