#include "tests/support/message_recorder.h"

#include <algorithm>

#include "skin/core/skin_props.h"

namespace testing_support {
namespace {

struct Subclass {
  WNDPROC original;
  MessageRecorder* recorder;  // null once the recorder is gone: the subclass only passes on
};

// Every window under a recording subclass; an entry lives until the window is destroyed or the
// subclass is taken off. User-interface thread only.
std::map<HWND, Subclass>& Subclasses() {
  static std::map<HWND, Subclass> subclasses;
  return subclasses;
}

}  // namespace

MessageRecorder::~MessageRecorder() {
  auto& subclasses = Subclasses();
  for (HWND window : watched_) {
    const auto found = subclasses.find(window);
    if (found == subclasses.end() || found->second.recorder != this) continue;
    if (IsWindow(window) && GetWindowLongPtrW(window, GWLP_WNDPROC) ==
                                reinterpret_cast<LONG_PTR>(&MessageRecorder::Procedure)) {
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.original));
      subclasses.erase(found);
    } else {
      found->second.recorder = nullptr;
    }
  }
}

void MessageRecorder::Watch(HWND window) {
  auto& subclasses = Subclasses();
  if (const auto found = subclasses.find(window); found != subclasses.end()) {
    found->second.recorder = this;  // already under a subclass: record through that one
  } else {
    const auto original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageRecorder::Procedure)));
    if (original == nullptr) return;
    subclasses[window] = {original, this};
  }
  watched_.push_back(window);
}

void MessageRecorder::RunBefore(HWND window, UINT message, std::function<void()> action) {
  pending_[window] = {message, std::move(action)};
}

bool MessageRecorder::Saw(HWND window, UINT message) const {
  return std::any_of(messages_.begin(), messages_.end(), [&](const RecordedMessage& m) {
    return m.window == window && m.message == message;
  });
}

bool MessageRecorder::Saw(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
  return std::any_of(messages_.begin(), messages_.end(), [&](const RecordedMessage& m) {
    return m.window == window && m.message == message && m.wParam == wParam && m.lParam == lParam;
  });
}

LRESULT CALLBACK MessageRecorder::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  auto& subclasses = Subclasses();
  const auto found = subclasses.find(window);
  if (found == subclasses.end()) return DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC original = found->second.original;
  if (MessageRecorder* recorder = found->second.recorder; recorder != nullptr) {
    recorder->messages_.push_back(
        {window, message, wParam, lParam, GetPropA(window, skin::props::kProcAddr) != nullptr});
    if (const auto answer = recorder->answers_.find(message); answer != recorder->answers_.end()) {
      return answer->second;
    }
    if (const auto pending = recorder->pending_.find(window);
        pending != recorder->pending_.end() && pending->second.message == message) {
      const std::function<void()> action = std::move(pending->second.action);
      recorder->pending_.erase(pending);
      action();
    }
  }
  const LRESULT result = CallWindowProcW(original, window, message, wParam, lParam);
  if (message == WM_NCDESTROY) Subclasses().erase(window);
  return result;
}

}  // namespace testing_support
