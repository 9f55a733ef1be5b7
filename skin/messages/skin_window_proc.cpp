#include "skin/messages/skin_window_proc.h"

#include <iterator>

#include "skin/core/skin_props.h"
#include "skin/graphics/gdi_handles.h"
#include "skin/messages/message_handlers.h"

namespace skin {

namespace {

// The engine's calls of the calling thread, as the engine named them when it installed the
// procedure on a window of this thread (and so on every window whose messages come here). Until
// then they do nothing.
constexpr EngineCalls kNoEngine = {
    .attach = [](HWND) { return 0; },
    .detach = [](HWND) { return 0; },
    .keepDpi = [](HWND, int) {},
    .attachLateWindows = [] {},
    .linkEnded = [] {},
};
thread_local EngineCalls engine = kNoEngine;

// The dispatch table: one row per SkinFamily, in the enum's order.
//
// Extending the skin to a further family means writing its handlers file (a FamilyHandlers
// constant declared in message_handlers.h) and pointing its row here at that constant. A null
// entry of a row falls back to the same entry of kCommonHandlers, and a null entry there means
// "the window's previous procedure only"; a family that must see only its previous procedure
// where kCommonHandlers has a handler sets CallPreviousOnly.
const FamilyHandlers* const kFamilyHandlers[] = {
    /* Form      */ &kNoHandlers,
    /* Button    */ &kButtonHandlers,
    /* ComboBox  */ &kComboBoxHandlers,
    /* DriveList */ &kDriveListHandlers,
    /* Check     */ &kCheckHandlers,
    /* Option    */ &kOptionHandlers,
    /* Progress  */ &kProgressHandlers,
    /* Header    */ &kHeaderHandlers,
    /* DataList  */ &kDataListHandlers,
    /* ComboList */ &kComboListHandlers,
    /* Grid      */ &kGridHandlers,
    /* Other     */ &kNoHandlers,
};
static_assert(std::size(kFamilyHandlers) == kSkinFamilyCount, "one row per family");

// Handlers that every family gets where its own row has none (for instance the client-edge
// frame drawn on WM_NCPAINT for any window with a sunken edge).
const FamilyHandlers& kCommonHandlers = kClientEdgeHandlers;

const FamilyHandlers& RowFor(SkinFamily family) {
  return *kFamilyHandlers[static_cast<size_t>(family)];
}

LRESULT Dispatch(const SkinMessage& message, SkinHandler FamilyHandlers::*entry) {
  if (SkinHandler handler = RowFor(message.traits.family).*entry) {
    return handler(message);
  }
  if (SkinHandler handler = kCommonHandlers.*entry) return handler(message);
  return message.CallPrevious();
}

// The window goes: take the skin off first, so the previous procedure sees WM_DESTROY with
// every skin object already gone and handles WM_NCDESTROY on its own.
LRESULT HandleDestroy(const SkinMessage& message) {
  engine.detach(message.window);
  return message.CallPrevious();
}

// A message box or dialog that the skinned window opens, or another form that becomes active,
// takes the skin as it is activated. The activation state in wParam does not matter.
LRESULT HandleActivate(const SkinMessage& message) {
  HWND other = reinterpret_cast<HWND>(message.lParam);
  if (other != nullptr) {
    if (GetParent(other) == message.window || GetSkinKind(other) == SkinKind::Form) {
      engine.attach(other);
    }
  }
  return message.CallPrevious();
}

// WM_ENTERIDLE names the idle dialog, WM_CTLCOLORLISTBOX the list box asking for colours (above
// all a combo box's drop-down list): attach it; the previous procedure's result (the brush) is
// returned unchanged.
LRESULT AttachWindowInLParam(const SkinMessage& message) {
  const auto previous = message.CallPreviousAndRecheck();
  HWND other = reinterpret_cast<HWND>(message.lParam);
  if (previous.stillSkinned && other != nullptr) engine.attach(other);
  return previous.value;
}

BOOL CALLBACK RescaleWindow(HWND window, LPARAM) {
  if (IsSkinned(window)) {
    if (auto rescale = RowFor(GetSkinTraits(window).family).rescale) rescale(window);
  }
  return TRUE;
}

// The window is told a new DPI (it went to a screen of another scale, or the scale changed): it
// and every skinned window inside it are drawn at that DPI from now on. It is kept before the
// previous procedure lays the window out again, so that push buttons it resizes render their
// faces at the new scale as they are resized; afterwards only what is still out of date is
// rendered again, and everything is repainted. Both halves of wParam hold the same DPI.
LRESULT FollowDpiChange(const SkinMessage& message) {
  engine.keepDpi(message.window, LOWORD(message.wParam));
  const auto previous = message.CallPreviousAndRecheck();
  if (previous.stillSkinned) {
    RescaleWindow(message.window, 0);
    EnumChildWindows(message.window, RescaleWindow, 0);
    RedrawWindow(message.window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  return previous.value;
}

// The window procedure is swapped with the function of the window's own character set, so text
// messages are not squeezed through the ANSI code page on their way to the previous procedure.
LONG_PTR SwapWindowProc(HWND window, bool unicode, LONG_PTR procedure) {
  return unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, procedure)
                 : SetWindowLongPtrA(window, GWLP_WNDPROC, procedure);
}

// A message for a window the skin does not hold as skinned: one it let go of while another
// subclass sat above its procedure (passed on through the link, which ends with the window's
// last message), or one it never held.
LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC link = SkinLinkOf(window);
  if (link == nullptr) {
    return IsWindowUnicode(window) ? DefWindowProcW(window, message, wParam, lParam)
                                   : DefWindowProcA(window, message, wParam, lParam);
  }
  const SkinMessage m{link, GetSkinTraits(window), window, message, wParam, lParam};
  const LRESULT result = m.CallPrevious();
  if (message == WM_NCDESTROY) {
    ForgetSkinWindow(window);
    engine.linkEnded();
  }
  return result;
}

// Whatever a message did (a property page shown, a control created at run time) is complete
// once it has been handled: the windows that appeared meanwhile inside skinned windows are
// attached then.
struct AttachLateWindowsAfterwards {
  ~AttachLateWindowsAfterwards() { engine.attachLateWindows(); }
};

// After a left-button release every skinned check box and option button next to the clicked
// window is redrawn, since a click on one option button changes its neighbours.
LRESULT HandleLButtonUpAndRefresh(const SkinMessage& message) {
  const LRESULT result = Dispatch(message, &FamilyHandlers::lButtonUp);
  HWND parent = GetParent(message.window);
  EnumChildWindows(parent != nullptr ? parent : message.window, RefreshCheckAndOptionBoxes, 0);
  return result;
}

}  // namespace

LRESULT SkinMessage::CallPrevious() const {
  // The skin's procedure was installed with the same character set as the window's own, so the
  // message is passed on without a lossy round trip through the ANSI code page.
  return traits.unicode ? CallWindowProcW(previous, window, message, wParam, lParam)
                        : CallWindowProcA(previous, window, message, wParam, lParam);
}

SkinMessage::PreviousResult SkinMessage::CallPreviousAndRecheck() const {
  const LRESULT value = CallPrevious();
  return {value, IsSkinned(window)};
}

LRESULT SkinMessage::DetachAndCallPrevious() const {
  engine.detach(window);
  return CallPrevious();
}

void SkinMessage::LetGo() const { engine.detach(window); }

LRESULT PaintInsteadOfPrevious(const SkinMessage& message, bool (*paint)(HWND window, HDC dc)) {
  RECT area{};
  {
    gdi::PaintDc paintDc(message.window);
    if (paintDc.get() != nullptr && paint(message.window, paintDc.get())) return 0;
    area = paintDc.paint().rcPaint;
  }
  // The skin's paint has validated the area: it is invalidated again for the previous procedure.
  if (!IsRectEmpty(&area)) InvalidateRect(message.window, &area, TRUE);
  return message.CallPrevious();
}

LRESULT CallPreviousOnly(const SkinMessage& message) { return message.CallPrevious(); }

const FamilyHandlers kNoHandlers{};

Sprites SpritesOfFamily(SkinFamily family) { return RowFor(family).sprites; }

bool AttachFamilyState(HWND window, SkinFamily family) {
  const auto attach = RowFor(family).attach;
  return attach == nullptr || attach(window);
}

void DetachFamilyState(HWND window, SkinFamily family) {
  if (auto detach = RowFor(family).detach) detach(window);
}

LRESULT CALLBACK SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window == nullptr) return 0;
  const WNDPROC previous = GetSkinPropHandle<WNDPROC>(window, props::kProcAddr);
  if (previous == nullptr) return PassOn(window, message, wParam, lParam);
  const SkinMessage m{previous, GetSkinTraits(window), window, message, wParam, lParam};
  const AttachLateWindowsAfterwards attachLateWindows;
  switch (message) {
    case WM_DESTROY:
      return HandleDestroy(m);
    case WM_SIZE:
      return Dispatch(m, &FamilyHandlers::size);
    case WM_ACTIVATE:
      return HandleActivate(m);
    case WM_SETFOCUS:
      return Dispatch(m, &FamilyHandlers::setFocus);
    case WM_KILLFOCUS:
      return Dispatch(m, &FamilyHandlers::killFocus);
    case WM_ENABLE:
      return Dispatch(m, &FamilyHandlers::enable);
    case WM_PAINT:
      return Dispatch(m, &FamilyHandlers::paint);
    case WM_WINDOWPOSCHANGING:
      return Dispatch(m, &FamilyHandlers::windowPosChanging);
    case WM_NCPAINT:
      return Dispatch(m, &FamilyHandlers::ncPaint);
    case WM_KEYDOWN:
      return Dispatch(m, &FamilyHandlers::keyDown);
    case WM_KEYUP:
      return Dispatch(m, &FamilyHandlers::keyUp);
    case WM_TIMER:
      return Dispatch(m, &FamilyHandlers::timer);
    case WM_ENTERIDLE:
      return AttachWindowInLParam(m);
    case WM_CTLCOLORLISTBOX:
      return AttachWindowInLParam(m);
    case WM_MOUSEMOVE:
      return Dispatch(m, &FamilyHandlers::mouseMove);
    case WM_LBUTTONDOWN:
      return Dispatch(m, &FamilyHandlers::lButtonDown);
    case WM_LBUTTONUP:
      return HandleLButtonUpAndRefresh(m);
    case WM_LBUTTONDBLCLK:
      return Dispatch(m, &FamilyHandlers::lButtonDblClk);
    case WM_MOUSELEAVE:
      return Dispatch(m, &FamilyHandlers::mouseLeave);
    case WM_GETDLGCODE:
      return Dispatch(m, &FamilyHandlers::getDlgCode);
    case BM_SETSTYLE:
      return Dispatch(m, &FamilyHandlers::setStyle);
    case WM_DPICHANGED:
      return FollowDpiChange(m);
    case WM_GETOBJECT:
      return Dispatch(m, &FamilyHandlers::getObject);
    case WM_UPDATEUISTATE:
      return Dispatch(m, &FamilyHandlers::updateUiState);
    default:
      return m.CallPrevious();
  }
}

bool RunsSkinWindowProc(HWND window) {
  // The platform hands out the procedure itself only in the character set it was installed with
  // (a thunk in the other), so both are asked.
  const auto skinProcedure = reinterpret_cast<LONG_PTR>(SkinWindowProc);
  return GetWindowLongPtrW(window, GWLP_WNDPROC) == skinProcedure ||
         GetWindowLongPtrA(window, GWLP_WNDPROC) == skinProcedure;
}

void InstallSkinWindowProc(HWND window, bool unicode, const EngineCalls& calls) {
  engine = calls;
  SwapWindowProc(window, unicode, reinterpret_cast<LONG_PTR>(SkinWindowProc));
}

void TakeOutSkinWindowProc(HWND window, bool unicode) {
  if (RunsSkinWindowProc(window)) {
    const LONG_PTR previous = GetSkinProp(window, props::kProcAddr);
    ForgetSkinWindow(window);
    SwapWindowProc(window, unicode, previous);
    return;
  }
  // Another subclass sits above the skin's procedure, and its own previous procedure is the
  // skin's: taking that out of the middle of the chain would cut the other one off, or leave it
  // calling a procedure that is gone. So the skin's stays, as a link that passes every message on
  // and paints nothing; the skin's resources are gone, and the window counts as no longer
  // skinned. A later attach takes the link up again instead of stacking another, and the link
  // ends with the window.
  LeaveSkinLink(window);
}

BOOL CALLBACK RefreshCheckAndOptionBoxes(HWND child, LPARAM) {
  if (!IsSkinned(child)) return TRUE;
  const SkinFamily family = GetSkinTraits(child).family;
  // Check boxes and option buttons repaint through their row's refreshAfterClick (the check and
  // option painters, with state Normal and the force flag); other kinds are left alone.
  if (family == SkinFamily::Check || family == SkinFamily::Option) {
    if (auto refresh = RowFor(family).refreshAfterClick) refresh(child);
  }
  return TRUE;
}

}  // namespace skin
