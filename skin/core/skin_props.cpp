#include "skin/core/skin_props.h"

namespace skin {

LONG_PTR GetSkinProp(HWND window, const char* key) {
  return reinterpret_cast<LONG_PTR>(GetPropA(window, key));
}

void SetSkinProp(HWND window, const char* key, LONG_PTR value) {
  SetPropA(window, key, reinterpret_cast<HANDLE>(value));
}

void RemoveSkinProp(HWND window, const char* key) { RemovePropA(window, key); }

SkinState GetSkinState(HWND window) {
  const LONG_PTR value = GetSkinProp(window, props::kOldState);
  if (value < 0 || value >= kSkinStateCount) return SkinState::Normal;
  return static_cast<SkinState>(value);
}

void SetSkinState(HWND window, SkinState state) {
  SetSkinProp(window, props::kOldState, ToInt(state));
}

bool IsSkinned(HWND window) {
  return window != nullptr && GetSkinProp(window, props::kProcAddr) != 0;
}

}  // namespace skin
