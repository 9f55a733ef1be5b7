#pragma once

namespace skin {

// The visual state of a skinned control. The numbers are stored under "OLDSTATE", give the
// order of the state cells in the sprite surfaces and the digit of a push button's state
// surfaces "HDC0".."HDC3".
enum class SkinState : int {
  Normal = 0,
  Hot = 1,      // pointer over the control
  Pressed = 2,  // for a combo box: its list is dropped down
  Disabled = 3,
};

inline constexpr int kSkinStateCount = 4;

inline constexpr int ToInt(SkinState state) { return static_cast<int>(state); }

}  // namespace skin
