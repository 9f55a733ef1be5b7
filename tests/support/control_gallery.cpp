#include "tests/support/control_gallery.h"

#include <commctrl.h>

namespace testing_support {
namespace {

// Where the form stands on the screen, and its size.
constexpr POINT kFormOrigin{40, 40};
constexpr SIZE kFormSize{700, 460};
constexpr int kProgressRange = 30000;

LRESULT CALLBACK GalleryFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

// Registers `name` as a copy of the system class `base` owned by this module.
void RegisterSuperclass(const wchar_t* base, const wchar_t* name) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof(info);
  if (!GetClassInfoExW(nullptr, base, &info)) return;
  info.hInstance = GetModuleHandleW(nullptr);
  info.lpszClassName = name;
  info.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  RegisterClassExW(&info);
}

void RegisterPlainClass(const wchar_t* name) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof(info);
  info.lpfnWndProc = GalleryFormProc;
  info.hInstance = GetModuleHandleW(nullptr);
  info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  info.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  info.lpszClassName = name;
  RegisterClassExW(&info);
}

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
           int width, int height, DWORD exStyle = 0) {
  HWND window = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y,
                                width, height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  // The stock GUI font belongs to the system; the control only borrows it.
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  return window;
}

void AddStrings(HWND window, UINT message, std::initializer_list<const wchar_t*> items) {
  for (const wchar_t* item : items) {
    SendMessageW(window, message, 0, reinterpret_cast<LPARAM>(item));
  }
}

HWND Progress(HWND parent, DWORD style, int x, int y, int width, int height, int position) {
  HWND bar = Child(parent, kGalleryProgressClass, L"", style | WS_BORDER, x, y, width, height);
  SendMessageW(bar, PBM_SETRANGE32, 0, kProgressRange);
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  return bar;
}

void AddHeaderItems(HWND header) {
  const wchar_t* texts[] = {L"Name", L"Size", L"Modified", L""};
  int index = 0;
  for (int width : kGalleryHeaderItemWidths) {
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.cxy = width;
    item.fmt = HDF_LEFT | HDF_STRING;
    item.pszText = const_cast<wchar_t*>(texts[index]);
    SendMessageW(header, HDM_INSERTITEMW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    ++index;
  }
}

}  // namespace

void RegisterGalleryClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  RegisterPlainClass(kGalleryFormClass);
  RegisterPlainClass(kGalleryFrameClass);
  RegisterSuperclass(L"Button", kGalleryCheckClass);
  RegisterSuperclass(L"Button", kGalleryOptionClass);
  RegisterSuperclass(L"ComboBox", kGalleryComboClass);
  RegisterSuperclass(L"ComboBox", kGalleryDriveListClass);
  RegisterSuperclass(PROGRESS_CLASSW, kGalleryProgressClass);
  RegisterSuperclass(L"ListBox", kGalleryDataListClass);
  RegisterSuperclass(L"ListBox", kGalleryGridClass);
}

ControlGallery::ControlGallery() {
  RegisterGalleryClasses();
  form = CreateWindowExW(WS_EX_TOPMOST, kGalleryFormClass, L"Gallery",
                         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, kFormOrigin.x,
                         kFormOrigin.y, kFormSize.cx, kFormSize.cy, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);

  // Left column: check boxes, option buttons and a frame with one of each inside.
  checkChecked = Child(form, kGalleryCheckClass, L"Checked", BS_AUTOCHECKBOX, 10, 10, 130, 20);
  checkUnchecked = Child(form, kGalleryCheckClass, L"Unchecked", BS_AUTOCHECKBOX, 10, 34, 130, 20);
  checkIndeterminate =
      Child(form, kGalleryCheckClass, L"Indeterminate", BS_AUTO3STATE, 10, 58, 130, 20);
  checkDisabled = Child(form, kGalleryCheckClass, L"Disabled", BS_AUTO3STATE, 10, 82, 130, 20);
  optionFirst =
      Child(form, kGalleryOptionClass, L"First", BS_AUTORADIOBUTTON | WS_GROUP, 10, 114, 130, 20);
  optionSecond = Child(form, kGalleryOptionClass, L"Second", BS_AUTORADIOBUTTON, 10, 138, 130, 20);
  optionDisabled =
      Child(form, kGalleryOptionClass, L"Disabled", BS_AUTORADIOBUTTON, 10, 162, 130, 20);
  frame = Child(form, kGalleryFrameClass, L"", WS_GROUP, 10, 192, 140, 64);
  frameCheck = Child(frame, kGalleryCheckClass, L"In a frame", BS_AUTOCHECKBOX, 8, 8, 120, 20);
  frameOption = Child(frame, kGalleryOptionClass, L"Option in a frame",
                      BS_AUTORADIOBUTTON | WS_GROUP, 8, 34, 124, 20);

  SendMessageW(checkChecked, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(checkIndeterminate, BM_SETCHECK, BST_INDETERMINATE, 0);
  SendMessageW(checkDisabled, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(optionFirst, BM_SETCHECK, BST_CHECKED, 0);
  EnableWindow(checkDisabled, FALSE);
  EnableWindow(optionDisabled, FALSE);

  // Middle column: combo boxes and a drive list.
  comboSimple = Child(form, kGalleryComboClass, L"", CBS_SIMPLE, 170, 10, 150, 80);
  comboEditable =
      Child(form, kGalleryComboClass, L"", CBS_DROPDOWN | WS_VSCROLL, 170, 100, 150, 120);
  comboDropList =
      Child(form, kGalleryComboClass, L"", CBS_DROPDOWNLIST | WS_VSCROLL, 170, 130, 150, 120);
  comboDisabled =
      Child(form, kGalleryComboClass, L"", CBS_DROPDOWNLIST | WS_VSCROLL, 170, 160, 150, 120);
  driveList =
      Child(form, kGalleryDriveListClass, L"", CBS_DROPDOWNLIST | WS_VSCROLL, 170, 190, 150, 120);
  for (HWND combo : {comboSimple, comboEditable, comboDropList, comboDisabled}) {
    AddStrings(combo, CB_ADDSTRING, {L"Alpha", L"Beta", L"Gamma", L"Delta"});
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
  }
  AddStrings(driveList, CB_ADDSTRING, {L"c: [system]", L"z: [root]"});
  SendMessageW(driveList, CB_SETCURSEL, 0, 0);
  EnableWindow(comboDisabled, FALSE);

  // Right column: header, progress bars.
  header = Child(form, WC_HEADERW, L"", HDS_BUTTONS | HDS_HORZ, 340, 10, 340, 22);
  AddHeaderItems(header);
  progressHorizontal = Progress(form, 0, 340, 44, 200, 18, 15000);
  progressSmooth = Progress(form, PBS_SMOOTH, 340, 70, 200, 18, 22500);
  progressDisabled = Progress(form, 0, 340, 96, 200, 18, 7500);
  EnableWindow(progressDisabled, FALSE);
  progressVertical = Progress(form, PBS_VERTICAL, 560, 44, 20, 100, 15000);
  progressVerticalSmooth = Progress(form, PBS_VERTICAL | PBS_SMOOTH, 600, 44, 20, 100, 22500);

  // Bottom row: lists.
  const DWORD listStyle = LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  dataList =
      Child(form, kGalleryDataListClass, L"", listStyle, 10, 270, 150, 140, WS_EX_CLIENTEDGE);
  grid = Child(form, kGalleryGridClass, L"", listStyle | WS_BORDER, 170, 270, 120, 140);
  gridBorderless = Child(form, kGalleryGridClass, L"", listStyle, 300, 270, 120, 140);
  clientEdgeList = Child(form, L"ListBox", L"", listStyle, 430, 160, 120, 120, WS_EX_CLIENTEDGE);
  clientEdgeListDisabled =
      Child(form, L"ListBox", L"", listStyle, 560, 160, 120, 120, WS_EX_CLIENTEDGE);
  plainList = Child(form, L"ListBox", L"", listStyle, 430, 290, 120, 120);
  for (HWND list :
       {dataList, grid, gridBorderless, clientEdgeList, clientEdgeListDisabled, plainList}) {
    AddStrings(list, LB_ADDSTRING, {L"One", L"Two", L"Three", L"Four", L"Five"});
  }
  EnableWindow(clientEdgeListDisabled, FALSE);

  ShowWindow(form, SW_SHOWNOACTIVATE);
  UpdateWindow(form);
  PumpMessages();
}

ControlGallery::~ControlGallery() {
  if (form != nullptr) DestroyWindow(form);
  PumpMessages();
}

std::vector<HWND> ControlGallery::Controls() const {
  return {checkChecked,
          checkUnchecked,
          checkIndeterminate,
          checkDisabled,
          optionFirst,
          optionSecond,
          optionDisabled,
          frame,
          frameCheck,
          frameOption,
          comboSimple,
          comboEditable,
          comboDropList,
          comboDisabled,
          driveList,
          header,
          progressHorizontal,
          progressSmooth,
          progressVertical,
          progressVerticalSmooth,
          progressDisabled,
          dataList,
          grid,
          gridBorderless,
          clientEdgeList,
          clientEdgeListDisabled,
          plainList};
}

void MoveCursorTo(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  MoveCursorTo(window, (client.right - client.left) / 2, (client.bottom - client.top) / 2);
}

void MoveCursorTo(HWND window, int clientX, int clientY) {
  POINT point{clientX, clientY};
  ClientToScreen(window, &point);
  SetCursorPos(point.x, point.y);
}

}  // namespace testing_support
