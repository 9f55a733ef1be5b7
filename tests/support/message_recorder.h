#pragma once

// A recording subclass: it goes under whatever subclasses a window gets later (the skin among
// them), so that it sees exactly the messages that reach the window's own procedure, in order,
// each with whether the window carried the skin at that moment. It passes every message on to the
// window's own procedure, except those it is told to answer itself, and can run an action just
// before a chosen message goes on.

#include <windows.h>

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace testing_support {

struct RecordedMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool skinned;  // the window carried "PROCADDR" when the message arrived
};

class MessageRecorder {
 public:
  MessageRecorder() = default;
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;
  // Takes the subclass off where nothing was put over it since; elsewhere it stays and passes
  // every message on without recording.
  ~MessageRecorder();

  // Subclasses the window and records what reaches it from now on.
  void Watch(HWND window);

  // Answers `message` with `result` on every watched window instead of passing it on.
  void Answer(UINT message, LRESULT result) { answers_[message] = result; }

  // Runs `action` once, when `message` next reaches `window`, before passing it on.
  void RunBefore(HWND window, UINT message, std::function<void()> action);

  bool Saw(HWND window, UINT message) const;
  bool Saw(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
  const std::vector<RecordedMessage>& messages() const { return messages_; }
  void Clear() { messages_.clear(); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  struct Pending {
    UINT message;
    std::function<void()> action;
  };

  std::vector<RecordedMessage> messages_;
  std::map<UINT, LRESULT> answers_;
  std::map<HWND, Pending> pending_;
  std::vector<HWND> watched_;
};

}  // namespace testing_support
