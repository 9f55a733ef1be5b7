#pragma once

// A form that holds one of every kind of control the skin recognises, for tests to drive with
// real messages and to photograph. The kinds come from class names: the gallery registers
// superclasses of the standard controls under the names the skin classifies (a check box class
// named "ThunderRT6CheckBox" on the system button class, a drive list on the combo box class,
// and so on), so the windows behave like the system's controls and are skinned by name.

#include <windows.h>

#include <vector>

#include "tests/support/message_pump.h"

namespace testing_support {

// Class names the gallery registers (the header uses the common controls' own class).
inline constexpr wchar_t kGalleryFormClass[] = L"ThunderRT6FormDC";
inline constexpr wchar_t kGalleryCheckClass[] = L"ThunderRT6CheckBox";
inline constexpr wchar_t kGalleryOptionClass[] = L"ThunderRT6OptionButton";
inline constexpr wchar_t kGalleryComboClass[] = L"ThunderRT6ComboBox";
inline constexpr wchar_t kGalleryDriveListClass[] = L"ThunderRT6DriveListBox";
inline constexpr wchar_t kGalleryProgressClass[] = L"ProgressBar20WndClass";
inline constexpr wchar_t kGalleryDataListClass[] = L"DataListWndClass";
inline constexpr wchar_t kGalleryGridClass[] = L"ApexGridGallery";
inline constexpr wchar_t kGalleryFrameClass[] = L"ThunderRT6Frame";

// Registers the gallery's classes once per process (and loads the common controls).
void RegisterGalleryClasses();

// Item rectangles of the gallery header: 0..100, 100..180, 180..270, 270..340; item 3 has no
// text.
inline constexpr int kGalleryHeaderItemWidths[] = {100, 80, 90, 70};

// The gallery form and its controls. Created visible and topmost at a fixed place on the
// screen, not skinned; destroyed with the object.
class ControlGallery {
 public:
  ControlGallery();
  ControlGallery(const ControlGallery&) = delete;
  ControlGallery& operator=(const ControlGallery&) = delete;
  ~ControlGallery();

  HWND form = nullptr;

  // Check boxes: checked, unchecked, indeterminate (three-state), and disabled and checked.
  HWND checkChecked = nullptr;
  HWND checkUnchecked = nullptr;
  HWND checkIndeterminate = nullptr;
  HWND checkDisabled = nullptr;

  // Option buttons of one group: the first selected, the third disabled.
  HWND optionFirst = nullptr;
  HWND optionSecond = nullptr;
  HWND optionDisabled = nullptr;

  // A frame (a plain child window) holding a check box and an option button of its own.
  HWND frame = nullptr;
  HWND frameCheck = nullptr;
  HWND frameOption = nullptr;

  // Combo boxes of the three styles, a disabled drop-down list and a drive list.
  HWND comboSimple = nullptr;
  HWND comboEditable = nullptr;
  HWND comboDropList = nullptr;
  HWND comboDisabled = nullptr;
  HWND driveList = nullptr;

  // A header with four items (see kGalleryHeaderItemWidths).
  HWND header = nullptr;

  // Progress bars with the range 0..30000: horizontal, horizontal smooth, vertical, vertical
  // smooth, and a disabled horizontal one.
  HWND progressHorizontal = nullptr;
  HWND progressSmooth = nullptr;
  HWND progressVertical = nullptr;
  HWND progressVerticalSmooth = nullptr;
  HWND progressDisabled = nullptr;

  // Lists: a data list, a grid with WS_BORDER and one without, a plain list box with a client
  // edge, a disabled one with a client edge and one without any edge.
  HWND dataList = nullptr;
  HWND grid = nullptr;
  HWND gridBorderless = nullptr;
  HWND clientEdgeList = nullptr;
  HWND clientEdgeListDisabled = nullptr;
  HWND plainList = nullptr;

  // Every control above, for loops over all of them.
  std::vector<HWND> Controls() const;
};

// Moves the real cursor to the centre of the window (or to a point in its client area), so that
// hover tracking and WindowFromPoint see the pointer where the test says it is.
void MoveCursorTo(HWND window);
void MoveCursorTo(HWND window, int clientX, int clientY);

}  // namespace testing_support
