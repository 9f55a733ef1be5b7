#pragma once

// The windows a skin test looks at beyond the one it drives: a window with all it holds, every
// window of the test thread (the lists that combo boxes drop down are top-level windows of their
// own), and the list box of one combo box. Written once for the skin's test programs.

#include <windows.h>

#include <vector>

namespace skin_tests {

// The windows of SkinTestForm that the skin attaches: the form, its frame and four buttons.
inline constexpr int kSkinnedWindowsOfTestForm = 6;

inline BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The window and all its descendants.
inline std::vector<HWND> WindowTree(HWND root) {
  std::vector<HWND> windows{root};
  EnumChildWindows(root, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Every window of the calling thread: its top-level windows and all their descendants.
inline std::vector<HWND> ThreadWindows() {
  std::vector<HWND> tops;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&tops));
  std::vector<HWND> all;
  for (HWND top : tops) {
    const std::vector<HWND> tree = WindowTree(top);
    all.insert(all.end(), tree.begin(), tree.end());
  }
  return all;
}

// The list box of the combo box (for one that drops it down, a top-level window of its own); null
// when it has none.
inline HWND ComboListOf(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  return GetComboBoxInfo(combo, &info) ? info.hwndList : nullptr;
}

}  // namespace skin_tests
