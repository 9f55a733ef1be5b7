#pragma once

// The push-button fade as levels: the picture of the button's new state is blended over what it
// shows, once per tick, with a constant alpha that grows by 3 until it has blended at 255. The
// timer that drives it lives with the button's messages (skin/messages/fade_timer.h).

#include <windows.h>

namespace skin {

inline constexpr LONG_PTR kFadeStep = 3;
inline constexpr LONG_PTR kFadeFullLevel = 255;

// The level after a blend at `level`: 3 higher, or 0 once that passes 255 (the fade is over).
constexpr LONG_PTR NextFadeLevel(LONG_PTR level) {
  return level + kFadeStep > kFadeFullLevel ? 0 : level + kFadeStep;
}

}  // namespace skin
