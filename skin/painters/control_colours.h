#pragma once

// Flat colours of the skinned check boxes, combo boxes, progress bars and framed lists
// (COLORREF 0x00BBGGRR).

#include <windows.h>

namespace skin {

inline constexpr COLORREF kWhite = 0xFFFFFF;
// One-pixel frames of enabled and disabled controls.
inline constexpr COLORREF kFrameColour = 0xD5A554;          // #54A5D5
inline constexpr COLORREF kDisabledFrameColour = 0xE9CFA4;  // #A4CFE9
// Frame of a check box while it is pressed.
inline constexpr COLORREF kPressedFrameColour = 0xC48639;  // #3986C4
// Bar of a progress bar.
inline constexpr COLORREF kProgressBarColour = 0xF6D64C;  // #4CD6F6

constexpr COLORREF FrameColourFor(bool enabled) {
  return enabled ? kFrameColour : kDisabledFrameColour;
}

}  // namespace skin
