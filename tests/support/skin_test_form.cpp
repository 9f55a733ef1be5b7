#include "tests/support/skin_test_form.h"

#include "skin/core/skin_props.h"
#include "skin/messages/fade_timer.h"

namespace testing_support {

const wchar_t kTestFrameClass[] = L"MorvaneTestFrame";

namespace {

struct ButtonLayout {
  const wchar_t* caption;
  int x, y, width, height;
};

// Command4, Command1, Command3, Command2 in the frame's client coordinates.
constexpr ButtonLayout kButtons[] = {
    {L"说明", 136, 80, 129, 25},
    {L"刷新后马上生效", 8, 80, 121, 25},
    {L"关闭内嵌图片", 8, 48, 257, 25},
    {L"显示内嵌图片", 8, 16, 257, 25},
};

void RegisterFrameClass() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kTestFrameClass;
  RegisterClassW(&wc);  // fails harmlessly when already registered
}

}  // namespace

SkinTestForm::SkinTestForm(bool show) {
  RegisterFrameClass();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  font_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"宋体"));
  RECT client{0, 0, 290, 153};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&client, style, FALSE, WS_EX_DLGMODALFRAME);
  form_ = CreateWindowExW(WS_EX_DLGMODALFRAME, L"#32770", L"Morvane", style, 100, 100,
                          client.right - client.left, client.bottom - client.top, nullptr, nullptr,
                          instance, nullptr);
  frame_ = CreateWindowExW(0, kTestFrameClass, L"操作功能", WS_CHILD | WS_VISIBLE, 8, 8, 273, 113,
                           form_, nullptr, instance, nullptr);
  int id = 1;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const ButtonLayout& b = kButtons[i];
    buttons_[i] =
        CreateWindowExW(0, L"BUTTON", b.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                        b.x, b.y, b.width, b.height, frame_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
    SendMessageW(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  if (show) {
    ShowWindow(form_, SW_SHOW);
    SetForegroundWindow(form_);
    UpdateWindow(form_);
  }
}

// The buttons go before the font they were given.
SkinTestForm::~SkinTestForm() { Destroy(); }

void SkinTestForm::Destroy() {
  if (form_ != nullptr && IsWindow(form_)) DestroyWindow(form_);
  form_ = frame_ = nullptr;
  buttons_ = {};
}

void DropQueuedMessages(HWND window) {
  MSG message;
  while (PeekMessageW(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
  }
  while (PeekMessageW(&message, window, WM_MOUSELEAVE, WM_MOUSELEAVE, PM_REMOVE)) {
  }
}

void PointAtMiddle(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

int TicksUntilFadeEnds(HWND button, int limit, WPARAM timerId) {
  if (timerId == 0) timerId = skin::kFadeTimerId;
  int ticks = 0;
  while (skin::GetSkinProp(button, skin::props::kTimerId) != 0 && ticks < limit) {
    SendMessageW(button, WM_TIMER, timerId, 0);
    ++ticks;
  }
  return ticks;
}

}  // namespace testing_support
