#include "skin/messages/button_accessible.h"

#include <oleacc.h>

#include <atomic>

#include "accessible/accessible_base.h"
#include "accessible/kept_objects.h"
#include "skin/core/skin_props.h"
#include "skin/painters/button_painter.h"

namespace skin {
namespace {

// The name of a push button's default action, as the platform gives it in Chinese: "press".
constexpr wchar_t kPressAction[] = L"按";
constexpr wchar_t kMnemonicMarker = L'&';

// The application's source of descriptions; objects may be asked on any thread that holds them.
std::atomic<ButtonDescriptionSource> descriptionSource{nullptr};

bool SkinDrawsPushButton(HWND button) {
  return IsWindow(button) && IsSkinned(button) &&
         IsSkinDrawnButtonStyle(GetSkinProp(button, props::kOldStyle));
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

class PushButtonObject final : public accessible::AccessibleBase {
 public:
  explicit PushButtonObject(HWND button) : AccessibleBase(button) {}

 private:
  bool Connected() const override { return SkinDrawsPushButton(window()); }

  std::wstring Name(long) const override { return CaptionWithoutMnemonic(WindowText(window())); }

  std::wstring Description(long) const override {
    const ButtonDescriptionSource source = descriptionSource.load();
    return source != nullptr ? source(window()) : std::wstring();
  }

  long Role(long) const override { return ROLE_SYSTEM_PUSHBUTTON; }

  long State(long) const override {
    HWND button = window();
    long state = 0;
    if (!IsWindowVisible(button)) state |= STATE_SYSTEM_INVISIBLE;
    state |= IsWindowEnabled(button) ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_UNAVAILABLE;
    if (GetFocus() == button) state |= STATE_SYSTEM_FOCUSED;
    if (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) state |= STATE_SYSTEM_PRESSED;
    // Owner-drawn, the button has lost BS_DEFPUSHBUTTON; the skin keeps its type, moved with the
    // default role by BM_SETSTYLE.
    if ((GetSkinProp(button, props::kOldStyle) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      state |= STATE_SYSTEM_DEFAULT;
    }
    return state;
  }

  std::wstring KeyboardShortcut(long) const override {
    return MnemonicShortcut(WindowText(window()));
  }

  std::wstring DefaultAction(long) const override { return kPressAction; }

  // The click is posted, as the platform's own button object does, rather than sent: the call
  // returns to the reader at once, and a command that opens a modal message box runs that box
  // from the program's message loop, not inside the reader's call (whose process would wait on
  // it, and whose further calls would arrive nested in the box's loop).
  bool DoDefaultAction(long) override {
    if (!accessible::AccessibleBase::TakesInput(window())) return false;
    return PostMessageW(window(), BM_CLICK, 0, 0) != FALSE;
  }

  RECT ScreenRect(long) const override {
    RECT rect{};
    GetWindowRect(window(), &rect);
    return rect;
  }
};

}  // namespace

void SetButtonDescriptionSource(ButtonDescriptionSource source) { descriptionSource = source; }

LRESULT AnswerPushButtonObject(const SkinMessage& message) {
  if (!accessible::AccessibleBase::AsksForClientObject(message.lParam) ||
      !SkinDrawsPushButton(message.window)) {
    return message.CallPrevious();
  }
  const LRESULT object = accessible::HandOutKept(
      message.window, message.wParam, [&] { return new PushButtonObject(message.window); });
  return object != 0 ? object : message.CallPrevious();
}

void ReleasePushButtonObject(HWND button) { accessible::Disconnect(button); }

std::wstring CaptionWithoutMnemonic(std::wstring_view caption) {
  std::wstring name;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == kMnemonicMarker) {
      if (i + 1 < caption.size() && caption[i + 1] == kMnemonicMarker) name += caption[++i];
      continue;
    }
    name += caption[i];
  }
  return name;
}

std::wstring MnemonicShortcut(std::wstring_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != kMnemonicMarker) continue;
    if (caption[i + 1] == kMnemonicMarker) {
      ++i;
      continue;
    }
    std::wstring key(1, caption[i + 1]);
    CharUpperBuffW(key.data(), 1);
    return L"Alt+" + key;
  }
  return {};
}

}  // namespace skin
