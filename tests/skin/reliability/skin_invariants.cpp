#include "tests/skin/reliability/skin_invariants.h"

#include <map>
#include <sstream>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_kind.h"
#include "skin/core/skin_props.h"
#include "skin/core/skin_state.h"
#include "skin/messages/fade_timer.h"
#include "skin/messages/skin_window_proc.h"
#include "skin/painters/hover_fade.h"
#include "tests/support/window_properties.h"

namespace reliability {
namespace {

constexpr LONG_PTR kHighestState = 3;

LONG_PTR WindowProcedure(HWND window) {
  return IsWindowUnicode(window) ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                 : GetWindowLongPtrA(window, GWLP_WNDPROC);
}

std::string Describe(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  std::ostringstream text;
  text << "window " << window << " (" << name << ")";
  return text.str();
}

using PropMap = testing_support::WindowPropertyMap;

LONG_PTR Carried(const PropMap& props, const char* key) {
  const auto found = props.find(key);
  return found == props.end() ? 0 : found->second;
}

bool CarriesAnySkinProperty(const PropMap& props) {
  for (const char* key : skin::props::kAllKeys) {
    if (props.count(key) != 0) return true;
  }
  return false;
}

void CheckStateSurfaces(HWND window, std::ostringstream& faults) {
  for (int state = 0; state < skin::kSkinStateCount; ++state) {
    HDC surface = skin::GetSkinPropHandle<HDC>(window, skin::props::kStateSurface[state]);
    HGDIOBJ bitmap = skin::GetSkinPropHandle<HBITMAP>(window, skin::props::kStateBitmap[state]);
    if (surface == nullptr || bitmap == nullptr) {
      faults << Describe(window) << ": state surface " << state << " missing\n";
    } else if (GetCurrentObject(surface, OBJ_BITMAP) != bitmap) {
      faults << Describe(window) << ": state surface " << state
             << " does not hold the bitmap named beside it\n";
    }
  }
}

}  // namespace

bool FadeTimerRuns(HWND window) {
  if (!KillTimer(window, skin::kFadeTimerId)) return false;
  SetTimer(window, skin::kFadeTimerId, skin::kFadeTimerPeriodMs, nullptr);
  return true;
}

std::string InvariantFaults(HWND window) {
  std::ostringstream faults;
  const bool skinned = skin::IsSkinned(window);
  const bool hasSkinProcedure =
      WindowProcedure(window) == reinterpret_cast<LONG_PTR>(&skin::SkinWindowProc);
  if (skinned != hasSkinProcedure) {
    faults << Describe(window) << ": PROCADDR " << (skinned ? "present" : "absent")
           << " but the procedure " << (hasSkinProcedure ? "is" : "is not") << " SkinWindowProc\n";
  }
  const LONG_PTR state = skin::GetSkinProp(window, skin::props::kOldState);
  if (state < 0 || state > kHighestState) {
    faults << Describe(window) << ": OLDSTATE " << state << "\n";
  }
  const LONG_PTR level = skin::GetSkinProp(window, skin::props::kAlphaLevel);
  if (level < 0 || level > skin::kFadeFullLevel) {
    faults << Describe(window) << ": ALPHALEVEL " << level << "\n";
  }
  // The platform's tooltip, which the skin never attaches, runs timers of its own under the same
  // identifier as the fade's.
  const bool tooltip = skin::LowerClassName(skin::GetWindowClassName(window)) == "tooltips_class32";
  const bool timerNoted = skin::GetSkinProp(window, skin::props::kTimerId) != 0;
  const bool timerRuns = !tooltip && FadeTimerRuns(window);
  if (timerNoted != timerRuns) {
    faults << Describe(window) << ": TIMERID " << (timerNoted ? "set" : "0") << " but the timer "
           << (timerRuns ? "runs" : "does not run") << "\n";
  }
  const PropMap props = testing_support::WindowProperties(window);
  // Windows the store does not keep in memory are read from their properties anyway.
  for (const char* key : skin::props::kAllKeys) {
    if (!skin::RemembersWindow(window)) break;
    const LONG_PTR stored = skin::GetSkinProp(window, key);
    if (stored != Carried(props, key)) {
      faults << Describe(window) << ": " << key << " reads " << stored
             << " from the skin's store but " << Carried(props, key) << " from the window\n";
    }
  }
  if (!skinned && CarriesAnySkinProperty(props)) {
    faults << Describe(window) << ": skin properties left on a window without the skin\n";
  }
  if (skinned && skin::GetSkinTraits(window).family == skin::SkinFamily::Button) {
    CheckStateSurfaces(window, faults);
  }
  return faults.str();
}

std::string ThreadInvariantFaults() {
  std::string faults;
  int skinnedWindows = 0;
  for (HWND window : ThreadWindows()) {
    faults += InvariantFaults(window);
    if (skin::IsSkinned(window)) ++skinnedWindows;
  }
  if (skinnedWindows != skin::SkinnedWindowCount()) {
    faults += "SkinnedWindowCount " + std::to_string(skin::SkinnedWindowCount()) + " but " +
              std::to_string(skinnedWindows) + " windows carry the skin\n";
  }
  return faults;
}

}  // namespace reliability
