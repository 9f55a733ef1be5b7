// The push-button branch of the skin's window procedure: which face a skinned command button
// shows, at which fade level, when the fade runs, and how the owner-drawn button keeps its
// push-button role in a dialog.

#include "skin/core/skin_props.h"
#include "skin/core/skin_state.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/messages/button_accessible.h"
#include "skin/messages/button_attach.h"
#include "skin/messages/fade_timer.h"
#include "skin/messages/message_handlers.h"
#include "skin/messages/pointer_tracking.h"
#include "skin/painters/button_painter.h"
#include "skin/painters/hover_fade.h"

namespace skin {

namespace {

constexpr WPARAM kSpaceBar = VK_SPACE;
constexpr LONG_PTR kLeaveBlendLevel = 140;  // the hot face blended once as the pointer leaves
constexpr LONG_PTR kReleaseFadeLevel = 60;  // the normal face fades in from here after a click
constexpr LRESULT kPushButtonRoles = DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON;

// The handlers below call the previous procedure first and go on only while the window still
// carries the skin (SkinMessage::CallPreviousThen), so that no state and no fade timer is put
// back on a window that a click took the skin off or destroyed.

void SetFadeLevel(HWND button, LONG_PTR level) { SetSkinProp(button, props::kAlphaLevel, level); }

void SetMouseFlag(HWND button, LONG_PTR flag) { SetSkinProp(button, props::kMouseFlag, flag); }

// Press by mouse or space bar: the pressed face at once, at full strength.
void ShowPressed(HWND button) {
  StopFadeTimer(button);
  SetSkinState(button, SkinState::Pressed);
  SetFadeLevel(button, kFadeFullLevel);
  PaintButtonAtLevel(button, nullptr, kFadeFullLevel);
  SetFadeLevel(button, 0);
}

LRESULT PaintButtonFace(const SkinMessage& m) {
  if (!IsSkinDrawnButtonStyle(GetSkinProp(m.window, props::kOldStyle))) return m.CallPrevious();
  StopFadeTimer(m.window);
  SetFadeLevel(m.window, kFadeFullLevel);
  gdi::PaintDc paint(m.window);
  PaintSkinDrawnButton(m.window, paint.get(), kFadeFullLevel);
  return 0;
}

// State images of the new size that cannot be made (the process is out of GDI objects): the
// button lets go of the skin and is drawn by the platform, rather than show images of its old
// size.
LRESULT ResizeButton(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    WindowBounds bounds{};
    GetWindowBounds(m.window, bounds);
    if (!ResizeStateSurfaces(m.window, bounds)) return m.LetGo();
    RenderButtonStates(m.window);
    SetButtonRegion(m.window, bounds.width, bounds.height);
  });
}

// After a change of scale: faces that a resize has not rendered at the new scale already (or
// that still have the old font) are rendered again, and the corners follow the new factor.
void RescaleFaces(HWND button) {
  if (!FacesOutOfDate(button)) return;
  const int factorBefore = GetRenderedFaces(button).factor;
  RenderButtonStates(button);
  if (GetRenderedFaces(button).factor == factorBefore) return;
  WindowBounds bounds{};
  GetWindowBounds(button, bounds);
  SetButtonRegion(button, bounds.width, bounds.height);
}

LRESULT TrackPointerOverButton(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    if (GetSkinProp(m.window, props::kMouseFlag) == 0) {
      // A move that arrives while the pointer is elsewhere would arm a leave notification that
      // never comes and leave the button hot for good: it changes nothing.
      if (!CursorIsOver(m.window)) return;
      SetMouseFlag(m.window, 1);
      TrackMouseLeave(m.window);
      SetSkinState(m.window, SkinState::Hot);
      SetFadeLevel(m.window, 0);
      StartFadeTimer(m.window);
      return;
    }
    // Dragged off the button while it holds the capture: end the fade on the current face.
    if (!CursorIsOver(m.window)) {
      StopFadeTimer(m.window);
      SetFadeLevel(m.window, kFadeFullLevel);
      PaintButtonAtLevel(m.window, nullptr, kFadeFullLevel);
    }
  });
}

LRESULT FadeOutHover(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    SetMouseFlag(m.window, 0);
    SetSkinState(m.window, SkinState::Hot);
    SetFadeLevel(m.window, kLeaveBlendLevel);
    PaintButtonAtLevel(m.window, nullptr, kLeaveBlendLevel);
    SetSkinState(m.window, SkinState::Normal);
    SetFadeLevel(m.window, 0);
    StartFadeTimer(m.window);
  });
}

LRESULT PressButton(const SkinMessage& m) {
  return m.CallPreviousThen([&] { ShowPressed(m.window); });
}

LRESULT ReleaseButton(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    SetMouseFlag(m.window, 0);
    SetSkinState(m.window, SkinState::Normal);
    SetFadeLevel(m.window, kReleaseFadeLevel);
    StartFadeTimer(m.window);
  });
}

LRESULT PressButtonBySpaceBar(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    if (m.wParam == kSpaceBar) ShowPressed(m.window);
  });
}

LRESULT ReleaseButtonBySpaceBar(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    if (m.wParam != kSpaceBar) return;
    SetMouseFlag(m.window, 0);
    SetFadeLevel(m.window, 0);
    SetSkinState(m.window, SkinState::Normal);
    StartFadeTimer(m.window);
  });
}

// Every WM_TIMER steps the fade, whatever its id, before the previous procedure sees it.
LRESULT StepFade(const SkinMessage& m) {
  RunFadeStep(m.window);
  return m.CallPrevious();
}

// Focus gained or lost: the focus rectangle joins or leaves all four faces, which fade in.
LRESULT RerenderForFocus(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    RenderButtonStates(m.window);
    SetFadeLevel(m.window, 0);
    StartFadeTimer(m.window);
  });
}

// The UI state changed, passed on from the top-level window to every window in it: the keyboard
// was used (focus cues shown from now on), or a program hid them. Where the faces of the button
// that holds the focus no longer match it, they are rendered again and shown at once, or, while a
// fade runs, the fade brings them in.
LRESULT FollowFocusCues(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    FollowUiStateChange(m.window, LOWORD(m.wParam), HIWORD(m.wParam));
    if (!FocusBoxOutOfDate(m.window)) return;
    RenderButtonStates(m.window);
    if (GetSkinProp(m.window, props::kTimerId) != 0) return;
    SetFadeLevel(m.window, kFadeFullLevel);
    PaintButtonAtLevel(m.window, nullptr, kFadeFullLevel);
  });
}

LRESULT FollowEnabledState(const SkinMessage& m) {
  return m.CallPreviousThen([&] {
    SetSkinState(m.window, m.wParam != 0 ? SkinState::Normal : SkinState::Disabled);
    PaintButton(m.window, nullptr);
  });
}

// The dialog manager knows push buttons by their answer to WM_GETDLGCODE: Enter presses the one
// that answers DLGC_DEFPUSHBUTTON, and the default role moves to one that answers
// DLGC_UNDEFPUSHBUTTON. An owner-drawn button answers neither, so a skin-drawn button answers as
// the push button it is, by the type kept under "OLDSTYLE".
LRESULT AnswerAsPushButton(const SkinMessage& m) {
  const auto previous = m.CallPreviousAndRecheck();
  if (!previous.stillSkinned) return previous.value;
  const LONG_PTR oldStyle = GetSkinProp(m.window, props::kOldStyle);
  if (!IsSkinDrawnButtonStyle(oldStyle)) return previous.value;
  const LRESULT role =
      (oldStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
  return (previous.value & ~LRESULT{kPushButtonRoles}) | DLGC_BUTTON | role;
}

// The dialog manager moves the default role with BM_SETSTYLE: BS_DEFPUSHBUTTON to the button that
// takes it, BS_PUSHBUTTON to the one that gives it up. The skin keeps the new type under
// "OLDSTYLE" (so WM_GETDLGCODE follows it and the detach restores it) while the window stays
// owner-drawn; the faces do not depend on the role, so nothing is redrawn. Any other type (a check
// box, a radio button, owner-drawn) makes a button the skin does not draw: it lets go of the
// window first, and the button takes the new type as it would without the skin.
LRESULT TakeButtonType(const SkinMessage& m) {
  const LONG_PTR type = static_cast<LONG_PTR>(m.wParam) & BS_TYPEMASK;
  if (!IsSkinDrawnButtonStyle(type)) return m.DetachAndCallPrevious();
  SkinMessage ownerDrawn = m;
  ownerDrawn.wParam = (m.wParam & ~WPARAM{BS_TYPEMASK}) | BS_OWNERDRAW;
  ownerDrawn.lParam = FALSE;
  const auto previous = ownerDrawn.CallPreviousAndRecheck();
  if (!previous.stillSkinned) return previous.value;
  const LONG_PTR oldStyle = GetSkinProp(m.window, props::kOldStyle);
  SetSkinProp(m.window, props::kOldStyle, (oldStyle & ~LONG_PTR{BS_TYPEMASK}) | type);
  return previous.value;
}

}  // namespace

const FamilyHandlers kButtonHandlers{
    .attach = AttachButton,
    .detach = DetachButton,
    .paint = PaintButtonFace,
    .size = ResizeButton,
    .setFocus = RerenderForFocus,
    .killFocus = RerenderForFocus,
    .enable = FollowEnabledState,
    .keyDown = PressButtonBySpaceBar,
    .keyUp = ReleaseButtonBySpaceBar,
    .timer = StepFade,
    .mouseMove = TrackPointerOverButton,
    .lButtonDown = PressButton,
    .lButtonUp = ReleaseButton,
    .lButtonDblClk = PressButton,
    .mouseLeave = FadeOutHover,
    .getDlgCode = AnswerAsPushButton,
    .setStyle = TakeButtonType,
    .getObject = AnswerPushButtonObject,
    .updateUiState = FollowFocusCues,
    .rescale = RescaleFaces,
    .sprites = Sprites::Button,
};

}  // namespace skin
