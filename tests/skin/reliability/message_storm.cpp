#include "tests/skin/reliability/message_storm.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <sstream>

#include <gtest/gtest.h>

#include "skin/engine/skin_engine.h"
#include "skin/core/skin_kind.h"
#include "skin/core/skin_props.h"
#include "tests/skin/reliability/skin_invariants.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/message_pump.h"

namespace reliability {
namespace {

// The twenty-one messages of the skin's window procedure.
constexpr UINT kSkinMessages[] = {
    WM_DESTROY,     WM_SIZE,      WM_ACTIVATE,          WM_SETFOCUS,        WM_KILLFOCUS,
    WM_ENABLE,      WM_PAINT,     WM_WINDOWPOSCHANGING, WM_NCPAINT,         WM_KEYDOWN,
    WM_KEYUP,       WM_TIMER,     WM_ENTERIDLE,         WM_CTLCOLORLISTBOX, WM_MOUSEMOVE,
    WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,     WM_MOUSELEAVE,      WM_GETDLGCODE,
    BM_SETSTYLE,
};

// Button types BM_SETSTYLE gives: the push buttons the skin draws, and a check box it does not.
constexpr WPARAM kButtonTypes[] = {BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_USERBUTTON, BS_AUTOCHECKBOX};

// Coordinates and sizes from both ends of the 16-bit range and the small values around zero.
constexpr int kEdgeCoordinates[] = {-32768, -32767, -1000, -2,  -1,  0,    1,     2,    3,
                                    5,      12,     100,   255, 256, 4000, 32766, 32767};

// Sizes a resize step gives a window; the last entry stands for "back to where it was".
constexpr SIZE kResizes[] = {{0, 0}, {1, 1}, {5, 5}, {4000, 300}};

constexpr LONG_PTR kHeaderIndices[] = {-32768, -2, -1, 0, 3, 4, 1000, 0x7FFFFFFF};

constexpr size_t kRecentActionCount = 24;

const char* MessageName(UINT message) {
  switch (message) {
    case WM_DESTROY:
      return "WM_DESTROY";
    case WM_SIZE:
      return "WM_SIZE";
    case WM_ACTIVATE:
      return "WM_ACTIVATE";
    case WM_SETFOCUS:
      return "WM_SETFOCUS";
    case WM_KILLFOCUS:
      return "WM_KILLFOCUS";
    case WM_ENABLE:
      return "WM_ENABLE";
    case WM_PAINT:
      return "WM_PAINT";
    case WM_WINDOWPOSCHANGING:
      return "WM_WINDOWPOSCHANGING";
    case WM_NCPAINT:
      return "WM_NCPAINT";
    case WM_KEYDOWN:
      return "WM_KEYDOWN";
    case WM_KEYUP:
      return "WM_KEYUP";
    case WM_TIMER:
      return "WM_TIMER";
    case WM_ENTERIDLE:
      return "WM_ENTERIDLE";
    case WM_CTLCOLORLISTBOX:
      return "WM_CTLCOLORLISTBOX";
    case WM_MOUSEMOVE:
      return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN:
      return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
      return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK:
      return "WM_LBUTTONDBLCLK";
    case WM_MOUSELEAVE:
      return "WM_MOUSELEAVE";
    case WM_GETDLGCODE:
      return "WM_GETDLGCODE";
    case BM_SETSTYLE:
      return "BM_SETSTYLE";
    default:
      return "?";
  }
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// Windows whose own procedure takes a WM_DESTROY that is only sent, not meant, without harm:
// the system button class and its superclasses. (Other controls free their own data on it.)
bool TakesStrayDestroy(HWND window) {
  const skin::SkinKind kind = skin::GetSkinKind(window);
  if (kind == skin::SkinKind::Check || kind == skin::SkinKind::Option) return true;
  return kind == skin::SkinKind::Button && _stricmp(ClassOf(window).c_str(), "button") == 0;
}

void DispatchWaitingMessages() {
  MSG message;
  for (int i = 0; i < 200 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Puts the skin back on a window. When no window carries it the sprite sheet is gone, and only
// SkinInstall builds it again.
void Reattach(HWND form, HWND target) {
  if (skin::SkinnedWindowCount() == 0) {
    skin::SkinInstall(form);
  } else {
    skin::SkinAttachWindow(target);
  }
}

}  // namespace

MessageStorm::MessageStorm(uint32_t seed, HWND form, TargetList targets, MessageFilter allowed)
    : random_(seed), form_(form), targets_(std::move(targets)), allowed_(std::move(allowed)) {}

int MessageStorm::Coordinate() {
  if (Chance(70))
    return Pick(std::vector<int>(std::begin(kEdgeCoordinates), std::end(kEdgeCoordinates)));
  return std::uniform_int_distribution<int>(-32768, 32767)(random_);
}

LPARAM MessageStorm::Point() {
  const auto x = static_cast<WORD>(Coordinate());
  const auto y = static_cast<WORD>(Coordinate());
  return static_cast<LPARAM>(MAKELONG(x, y));
}

WPARAM MessageStorm::Key() {
  if (Chance(35)) return VK_SPACE;
  if (Chance(10)) return static_cast<WPARAM>(std::uniform_int_distribution<uint32_t>()(random_));
  return static_cast<WPARAM>(std::uniform_int_distribution<int>(0, 0x1FF)(random_));
}

// The other window of an activation, the idle dialog, the list asking for colours: none, one
// of the storm's windows, or a value that names no window.
LPARAM MessageStorm::OtherWindow(const std::vector<HWND>& targets) {
  const int choice = std::uniform_int_distribution<int>(0, 3)(random_);
  if (choice == 0) return 0;
  if (choice == 1) return static_cast<LPARAM>(0x00ABCDEF);
  return reinterpret_cast<LPARAM>(Pick(targets));
}

std::string MessageStorm::SendHostileMessage(HWND target) {
  const UINT message = Pick(std::vector<UINT>(std::begin(kSkinMessages), std::end(kSkinMessages)));
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  WINDOWPOS position{};
  switch (message) {
    case WM_DESTROY:
      if (!TakesStrayDestroy(target)) return "WM_DESTROY skipped";
      break;
    case WM_SIZE:
      wParam = static_cast<WPARAM>(std::uniform_int_distribution<int>(0, 5)(random_));
      lParam = Point();
      break;
    case WM_ACTIVATE:
      wParam = MAKEWPARAM(std::uniform_int_distribution<int>(0, 3)(random_), Chance(20));
      lParam = OtherWindow(currentTargets_);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      wParam = static_cast<WPARAM>(OtherWindow(currentTargets_));
      break;
    case WM_ENABLE:
      wParam = Chance(50) ? 0 : (Chance(50) ? 1 : static_cast<WPARAM>(-1));
      break;
    case WM_PAINT:
      // Some controls paint into wParam when it is a DC; give them one or none.
      wParam = Chance(20) ? reinterpret_cast<WPARAM>(scratchDc_.get()) : 0;
      break;
    case WM_WINDOWPOSCHANGING:
      position = {target,
                  nullptr,
                  Coordinate(),
                  Coordinate(),
                  Coordinate(),
                  Coordinate(),
                  static_cast<UINT>(std::uniform_int_distribution<int>(0, 0x3FF)(random_))};
      lParam = reinterpret_cast<LPARAM>(&position);
      break;
    case WM_NCPAINT:
      wParam = Chance(50) ? 1 : (Chance(50) ? 0 : static_cast<WPARAM>(0x00BADBAD));
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      wParam = Key();
      lParam = static_cast<LPARAM>(std::uniform_int_distribution<uint32_t>()(random_));
      break;
    case WM_TIMER:
      wParam =
          Chance(50) ? 1 : static_cast<WPARAM>(std::uniform_int_distribution<uint32_t>()(random_));
      break;
    case WM_ENTERIDLE:
      wParam = static_cast<WPARAM>(std::uniform_int_distribution<int>(0, 2)(random_));
      lParam = OtherWindow(currentTargets_);
      break;
    case WM_CTLCOLORLISTBOX:
      wParam = reinterpret_cast<WPARAM>(scratchDc_.get());
      lParam = OtherWindow(currentTargets_);
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      wParam = static_cast<WPARAM>(std::uniform_int_distribution<int>(0, 0x7F)(random_));
      lParam = Point();
      break;
    case BM_SETSTYLE:
      wParam = Pick(std::vector<WPARAM>(std::begin(kButtonTypes), std::end(kButtonTypes)));
      lParam = Chance(50);
      break;
    case WM_MOUSELEAVE:
    case WM_GETDLGCODE:
    default:
      break;
  }
  std::ostringstream text;
  text << MessageName(message) << " to " << target << " (" << ClassOf(target) << ") wParam 0x"
       << std::hex << wParam << " lParam 0x" << lParam;
  if (!allowed_(target, message, lParam)) return text.str() + " vetoed";
  SendMessageW(target, message, wParam, lParam);
  return text.str();
}

std::string MessageStorm::ChangeWindow(HWND target) {
  std::ostringstream text;
  text << std::hex;
  switch (std::uniform_int_distribution<int>(0, 7)(random_)) {
    case 0: {
      const bool enable = Chance(60);
      EnableWindow(target, enable);
      text << (enable ? "enable " : "disable ") << target;
      break;
    }
    case 1: {
      const SIZE size = Pick(std::vector<SIZE>(std::begin(kResizes), std::end(kResizes)));
      SetWindowPos(target, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      text << "resize " << target << " to " << std::dec << size.cx << " x " << size.cy;
      break;
    }
    case 2:
      SetFocus(target);
      text << "focus " << target;
      break;
    case 3:
      RedrawWindow(target, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
      text << "repaint " << target;
      break;
    case 4:
      DispatchWaitingMessages();
      text << "dispatch waiting messages";
      break;
    case 5:
      // The header's own item tracking, which only a skinned header does.
      if (skin::GetSkinKind(target) == skin::SkinKind::Header && skin::IsSkinned(target)) {
        const LONG_PTR index =
            Pick(std::vector<LONG_PTR>(std::begin(kHeaderIndices), std::end(kHeaderIndices)));
        skin::SetSkinProp(target,
                          Chance(50) ? skin::props::kHeaderDownIndex : skin::props::kHeaderHotIndex,
                          index);
        text << "header index " << std::dec << index << " on " << target;
        break;
      }
      [[fallthrough]];
    case 6:
      if (target != form_ && skin::IsSkinned(target) && Chance(50)) {
        skin::SkinDetachWindow(target);
        text << "detach " << target;
      } else {
        Reattach(form_, target);
        text << "attach " << target;
      }
      break;
    default:
      if (Chance(10)) {
        skin::SkinRemove(form_);
        text << "SkinRemove on the form";
      } else {
        Reattach(form_, form_);
        text << "attach the form";
      }
      break;
  }
  return text.str();
}

std::string MessageStorm::Step() {
  currentTargets_ = targets_();
  if (currentTargets_.empty()) return "no window left";
  const HWND target = Pick(currentTargets_);
  return Chance(75) ? SendHostileMessage(target) : ChangeWindow(target);
}

StormResult MessageStorm::Run(const StormLimits& limits) {
  StormResult result;
  std::deque<std::string> recent;
  scratchDc_ = win::MemoryDc(win::WindowDc(nullptr, win::WindowDc::Area::Client).get());
  const DWORD start = GetTickCount();
  for (; result.steps < limits.steps && GetTickCount() - start < limits.milliseconds;
       ++result.steps) {
    recent.push_back(std::to_string(result.steps) + ": " + Step());
    if (recent.size() > kRecentActionCount) recent.pop_front();
    result.faults = ThreadInvariantFaults();
    if (!result.faults.empty()) break;
  }
  scratchDc_.reset();
  for (const std::string& action : recent) result.recentActions += action + "\n";
  return result;
}

void RunStormTwice(const char* what, const char* seedProperty, const StormOver& storm) {
  ASSERT_TRUE(testing_support::GdiAccountingAvailable());
  const uint32_t seed = StormSeed();
  std::cout << "message storm over " << what << ": seed " << seed
            << " (replay with MORVANE_STORM_SEED=" << seed << ")" << std::endl;
  testing::Test::RecordProperty(seedProperty, std::to_string(seed));
  StormLimits limits = kStormLimits;
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(testing::Message() << "seed " << seed << ", run " << run + 1);
    testing_support::PumpMessages();
    const testing_support::GdiCounts before = testing_support::CountGdiObjects();
    const StormResult result = storm(seed, limits);
    limits = {result.steps, INFINITE};
    std::cout << "  run " << run + 1 << ": " << result.steps << " steps" << std::endl;
    ASSERT_EQ(result.faults, "") << "at step " << result.steps << "; the last actions:\n"
                                 << result.recentActions;
    testing_support::PumpMessages();
    EXPECT_EQ(skin::SkinnedWindowCount(), 0);
    if (run == 1) {
      EXPECT_EQ(testing_support::CountGdiObjects(), before);
    }
  }
}

uint32_t StormSeed() {
  char value[32] = {};
  if (GetEnvironmentVariableA("MORVANE_STORM_SEED", value, sizeof value) > 0) {
    return static_cast<uint32_t>(std::strtoul(value, nullptr, 0));
  }
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<uint32_t>(now.QuadPart ^ (now.QuadPart >> 32) ^ GetCurrentProcessId());
}

}  // namespace reliability
