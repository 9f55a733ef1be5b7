// The platform's own dialogs opened from a skinned form: message box, open file, colour, font,
// find and a property sheet. While each is open its push buttons and combo boxes carry the skin
// (the pages of the sheet too), its other buttons keep their own type and behaviour, and the
// keyboard answers as it does without the skin; when it closes, the engine is back where it was.

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "accessible/accessible_base.h"
#include "accessible/thread_apartment.h"
#include "skin/core/skin_kind.h"
#include "skin/core/skin_props.h"
#include "skin/engine/skin_engine.h"
#include "tests/skin/dialogs/dialog_script.h"
#include "tests/skin/skin_test_windows.h"
#include "tests/support/accessible_reading.h"
#include "tests/support/control_gallery.h"
#include "tests/support/keyboard_input.h"
#include "tests/support/pictures.h"
#include "tests/support/skin_test_form.h"

namespace {

using dialog_tests::kScriptTimeoutMs;
using dialog_tests::Script;
using skin_tests::kSkinnedWindowsOfTestForm;
using skin_tests::ThreadWindows;
using skin_tests::WindowTree;
using testing_support::PressKey;

// The pages of property_pages.rc and their controls.
constexpr int kFirstPage = 3001;
constexpr int kSecondPage = 3002;
constexpr int kFirstPageCombo = 3102;
constexpr int kUpOption = 3202;
constexpr int kDownOption = 3203;

// The button type the window has, or had before the skin made it owner-drawn.
LONG_PTR ButtonType(HWND button) {
  const LONG_PTR style = skin::IsSkinned(button) ? skin::GetSkinProp(button, "OLDSTYLE")
                                                 : GetWindowLongPtrW(button, GWL_STYLE);
  return style & BS_TYPEMASK;
}

struct ControlsSeen {
  int pushButtons = 0;
  int comboBoxes = 0;
  int otherButtons = 0;  // check boxes, radio buttons, group boxes
};

// The dialog and every push button and combo box in it carry the skin, push buttons drawn by it;
// every other button keeps its own type and carries nothing of the skin.
ControlsSeen ExpectSkinnedControls(HWND dialog) {
  ControlsSeen seen;
  EXPECT_TRUE(skin::IsSkinned(dialog));
  for (HWND window : WindowTree(dialog)) {
    SCOPED_TRACE(testing::Message() << "control " << GetDlgCtrlID(window));
    const skin::SkinKind kind = skin::GetSkinKind(window);
    if (kind == skin::SkinKind::Combo) {
      ++seen.comboBoxes;
      EXPECT_TRUE(skin::IsSkinned(window));
    } else if (kind == skin::SkinKind::Button) {
      const LONG_PTR type = ButtonType(window);
      if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
        ++seen.pushButtons;
        EXPECT_TRUE(skin::IsSkinned(window));
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
      } else {
        ++seen.otherButtons;
        EXPECT_FALSE(skin::IsSkinned(window));
        EXPECT_EQ(skin::GetSkinProp(window, "HDC0"), 0);
      }
    }
  }
  return seen;
}

// Saves a picture of the dialog as it shows now, its pending paints done.
void SaveDialogPicture(HWND dialog, const wchar_t* fileName) {
  RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  testing_support::SaveWindowPicture(dialog, fileName);
}

// A radio button keeps its own type and is selected by a click, its neighbour cleared.
void ExpectOptionSelectedByClick(HWND option, HWND neighbour) {
  EXPECT_EQ(GetWindowLongPtrW(option, GWL_STYLE) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
  EXPECT_FALSE(skin::IsSkinned(option));
  SendMessageW(option, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(option, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(neighbour, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

// A real click of the left mouse button on a tab of a tab control.
void ClickTab(HWND tabs, int index) {
  RECT item{};
  TabCtrl_GetItemRect(tabs, index, &item);
  POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(tabs, &centre);
  SetCursorPos(centre.x, centre.y);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

class PlatformDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(skin::SkinInstall(form_.form()), 1);
    ASSERT_EQ(skin::SkinnedWindowCount(), kSkinnedWindowsOfTestForm);
  }

  // The dialog has gone and left nothing skinned; the form's removal then leaves no skin on any
  // window of the thread.
  void TearDown() override {
    EXPECT_EQ(skin::SkinnedWindowCount(), kSkinnedWindowsOfTestForm + windowsAddedToTheForm_);
    EXPECT_EQ(skin::SkinRemove(form_.form()), 1);
    EXPECT_EQ(skin::SkinnedWindowCount(), 0);
    for (HWND window : ThreadWindows()) EXPECT_FALSE(skin::IsSkinned(window)) << window;
  }

  // The dialog the form opened, once it is up.
  HWND Dialog() const {
    HWND popup = GetLastActivePopup(form_.form());
    return popup == form_.form() || !IsWindowVisible(popup) ? nullptr : popup;
  }

  // A script step: once the dialog is up, checks its controls (noting them in `seen`) and
  // presses a key.
  std::function<bool()> CheckControlsThenPress(ControlsSeen& seen, WORD key) const {
    return [this, &seen, key] {
      HWND dialog = Dialog();
      if (dialog == nullptr) return false;
      seen = ExpectSkinnedControls(dialog);
      PressKey(key);
      return true;
    };
  }

  testing_support::SkinTestForm form_;
  int windowsAddedToTheForm_ = 0;
};

// The box's push buttons in their order, as a screen reader reads them.
std::vector<testing_support::AccessibleNode> ReadPushButtons(HWND box) {
  std::vector<testing_support::AccessibleNode> buttons;
  for (HWND window : WindowTree(box)) {
    if (skin::GetSkinKind(window) == skin::SkinKind::Button) {
      buttons.push_back(testing_support::ReadNode(testing_support::ClientObjectOf(window)));
    }
  }
  return buttons;
}

// The box and its three push buttons carry the skin while it is open, and the buttons read as the
// platform's push buttons: named by their captions without the mnemonic marker, the default one
// marked as such, and their default action clicks them. The default moves with the focus: the
// mark follows the type the skin keeps for the button, and so does its answer to WM_GETDLGCODE,
// by which the dialog manager lets Enter press the button tabbed to.
TEST_F(PlatformDialogsTest, MessageBoxButtonsAreSkinnedAndReadAsPushButtonsWithTheDefaultKept) {
  const accessible::ThreadApartment apartment;
  ControlsSeen seen;
  std::vector<testing_support::AccessibleNode> before, after;
  Script script({
      [&] {
        HWND box = Dialog();
        if (box == nullptr) return false;
        seen = ExpectSkinnedControls(box);
        SaveDialogPicture(box, L"dialog_message_box.bmp");
        before = ReadPushButtons(box);
        PressKey(VK_TAB);  // from Yes, the default, to No, which takes the default role
        return true;
      },
      [&] {
        after = ReadPushButtons(Dialog());
        if (after.size() == 3)
          after[1].object->accDoDefaultAction(testing_support::ChildVariant(CHILDID_SELF));
        return true;
      },
      // The click closes the box; without it the script runs out of time and cancels the box.
      [] { return false; },
  });
  EXPECT_EQ(MessageBoxW(form_.form(), L"保存更改吗？", L"提示", MB_YESNOCANCEL | MB_ICONQUESTION),
            IDNO)
      << "the default action of No";
  EXPECT_EQ(seen.pushButtons, 3);
  ASSERT_EQ(before.size(), 3u);
  ASSERT_EQ(after.size(), 3u);
  for (size_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "button " << i);
    EXPECT_EQ(before[i].role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_FALSE(before[i].name.empty());
    EXPECT_EQ(before[i].name.find(L'&'), std::wstring::npos);
    EXPECT_EQ(before[i].action, L"按");
    EXPECT_EQ((before[i].state & STATE_SYSTEM_DEFAULT) != 0, i == 0);
    EXPECT_EQ((after[i].state & STATE_SYSTEM_DEFAULT) != 0, i == 1);
    EXPECT_EQ((after[i].state & STATE_SYSTEM_FOCUSED) != 0, i == 1);
    long count = 0;
    EXPECT_EQ(before[i].object->get_accChildCount(&count), CO_E_OBJNOTCONNECTED)
        << "the box is gone";
  }
}

TEST_F(PlatformDialogsTest, OpenFileDialogWithADroppedList) {
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = form_.form();
  request.lpstrFilter = L"文本文件\0*.txt\0所有文件\0*.*\0";
  request.lpstrFile = file;
  request.nMaxFile = MAX_PATH;
  request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST;
  ControlsSeen seen;
  HWND list = nullptr;
  Script script({
      [&] {
        HWND dialog = Dialog();
        if (dialog == nullptr) return false;
        seen = ExpectSkinnedControls(dialog);
        SaveDialogPicture(dialog, L"dialog_open_file.bmp");
        HWND types = GetDlgItem(dialog, cmb1);
        SendMessageW(types, CB_SHOWDROPDOWN, TRUE, 0);
        list = skin_tests::ComboListOf(types);
        return true;
      },
      [&] {
        EXPECT_TRUE(skin::IsSkinned(list)) << "the dropped list";
        SendMessageW(GetDlgItem(Dialog(), cmb1), CB_SHOWDROPDOWN, FALSE, 0);
        PressKey(VK_ESCAPE);
        return true;
      },
  });
  EXPECT_FALSE(GetOpenFileNameW(&request));
  EXPECT_EQ(CommDlgExtendedError(), 0u) << "not cancelled but failed";
  EXPECT_TRUE(script.finished());
  EXPECT_GE(seen.pushButtons, 2);  // Open, Cancel
  EXPECT_GE(seen.comboBoxes, 2);   // the folder and the file type
  EXPECT_FALSE(IsWindow(list) && skin::IsSkinned(list));
}

TEST_F(PlatformDialogsTest, ColourDialogTakesEnterForOk) {
  COLORREF custom[16] = {};
  CHOOSECOLORW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = form_.form();
  request.lpCustColors = custom;
  request.rgbResult = RGB(0x12, 0x34, 0x56);
  request.Flags = CC_RGBINIT;
  ControlsSeen seen;
  Script script({CheckControlsThenPress(seen, VK_RETURN)});
  EXPECT_TRUE(ChooseColorW(&request));
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(request.rgbResult, RGB(0x12, 0x34, 0x56));
  EXPECT_GE(seen.pushButtons, 2);  // OK, Cancel
}

TEST_F(PlatformDialogsTest, FontDialogKeepsItsCheckBoxesAndTakesEscape) {
  LOGFONTW font{};
  CHOOSEFONTW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = form_.form();
  request.lpLogFont = &font;
  request.Flags = CF_SCREENFONTS | CF_EFFECTS;
  ControlsSeen seen;
  Script script({CheckControlsThenPress(seen, VK_ESCAPE)});
  EXPECT_FALSE(ChooseFontW(&request));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_TRUE(script.finished());
  EXPECT_GE(seen.pushButtons, 2);   // OK, Cancel
  EXPECT_GE(seen.comboBoxes, 3);    // name, style, size
  EXPECT_GE(seen.otherButtons, 2);  // strikeout, underline
}

TEST_F(PlatformDialogsTest, FindDialogKeepsItsDirectionOptions) {
  wchar_t what[80] = L"内嵌";
  FINDREPLACEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = form_.form();
  request.lpstrFindWhat = what;
  request.wFindWhatLen = 80;
  request.Flags = FR_DOWN;
  HWND dialog = FindTextW(&request);
  ASSERT_NE(dialog, nullptr);
  testing_support::PumpMessages();
  const ControlsSeen seen = ExpectSkinnedControls(dialog);
  EXPECT_GE(seen.pushButtons, 2);  // Find Next, Cancel
  ExpectOptionSelectedByClick(GetDlgItem(dialog, rad1), GetDlgItem(dialog, rad2));  // Up
  SaveDialogPicture(dialog, L"dialog_find.bmp");

  // The modeless dialog takes its keys through the dialog manager of this thread's loop.
  PressKey(VK_ESCAPE);
  const ULONGLONG deadline = GetTickCount64() + kScriptTimeoutMs;
  while (IsWindow(dialog) && GetTickCount64() < deadline) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (IsWindow(dialog) && IsDialogMessageW(dialog, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  }
  EXPECT_FALSE(IsWindow(dialog)) << "Escape did not close the dialog";
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  HWND combo = GetDlgItem(page, kFirstPageCombo);
  for (const wchar_t* item : {L"甲", L"乙"}) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  CheckRadioButton(page, kUpOption, kDownOption, kUpOption);
  return TRUE;
}

TEST_F(PlatformDialogsTest, PropertySheetPagesAreSkinnedAsTheyAppear) {
  PROPSHEETPAGEW pages[2] = {};
  for (int i = 0; i < 2; ++i) {
    pages[i].dwSize = sizeof(PROPSHEETPAGEW);
    pages[i].hInstance = GetModuleHandleW(nullptr);
    pages[i].pszTemplate = MAKEINTRESOURCEW(i == 0 ? kFirstPage : kSecondPage);
    pages[i].pfnDlgProc = PageProc;
  }
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
  header.hwndParent = form_.form();
  header.pszCaption = L"属性";
  header.nPages = 2;
  header.ppsp = pages;
  HWND firstPage = nullptr;
  ControlsSeen onFirst;
  ControlsSeen onSecond;
  Script script({
      [&] {
        HWND sheet = Dialog();
        if (sheet == nullptr) return false;
        firstPage = PropSheet_GetCurrentPageHwnd(sheet);
        EXPECT_TRUE(skin::IsSkinned(firstPage));
        onFirst = ExpectSkinnedControls(sheet);
        ClickTab(PropSheet_GetTabControl(sheet), 1);  // the second page is created only now
        return true;
      },
      [&] {
        HWND sheet = Dialog();
        HWND secondPage = PropSheet_GetCurrentPageHwnd(sheet);
        if (secondPage == firstPage) return false;
        EXPECT_TRUE(skin::IsSkinned(secondPage));
        onSecond = ExpectSkinnedControls(sheet);
        ExpectOptionSelectedByClick(GetDlgItem(secondPage, kDownOption),
                                    GetDlgItem(secondPage, kUpOption));
        SaveDialogPicture(sheet, L"dialog_property_sheet_second_page.bmp");
        PressKey(VK_ESCAPE);
        return true;
      },
  });
  EXPECT_EQ(PropertySheetW(&header), 0);  // cancelled
  EXPECT_TRUE(script.finished());
  EXPECT_GE(onFirst.pushButtons, 3);  // the page's own, OK and Cancel
  EXPECT_EQ(onFirst.comboBoxes, 1);
  EXPECT_GE(onSecond.pushButtons, onFirst.pushButtons + 1);
  EXPECT_EQ(onSecond.otherButtons, 2);
}

TEST_F(PlatformDialogsTest, AComboBoxAddedAtRunTimeLeavesWithItsDroppedList) {
  HWND combo =
      CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 8, 125, 120,
                      100, form_.form(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"甲"));
  testing_support::PumpMessages();
  EXPECT_TRUE(skin::IsSkinned(combo)) << "not skinned when it appeared";

  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  testing_support::PumpMessages();
  EXPECT_TRUE(skin::IsSkinned(skin_tests::ComboListOf(combo)));
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  windowsAddedToTheForm_ = 2;  // the removal in TearDown must take both off
}

}  // namespace
