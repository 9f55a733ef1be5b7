#pragma once

// The skin property store: all per-window skin state lives in named window properties, set
// with SetPropA and removed with RemovePropA, so that anything outside the process can read it
// with GetPropA at any moment. Values are pointer-sized (the property's handle value), so a
// window procedure address or a handle fits on 64-bit too. A missing property reads as 0; -1 is
// stored as the all-ones pattern and reads back as -1.
//
// Under Wine every property access is a round trip to the Wine server, so the store also keeps
// the state of the windows the skin is attached to in memory, per thread. At the start of a
// window's attach the store learns in one call which keys the window carries; until the end of its
// detach a read is answered from memory, and a write goes to the window and to memory, a removal
// likewise. A write or removal that would leave every reader seeing what it sees now (the value
// the window carries already, 0 for a key it lacks, the removal of a key it lacks) is not sent to
// the window. Every other window, and every window of another thread or process, is read from its
// properties.
//
// What the store relies on: while a window carries the skin, its skin properties change only
// through the store of the thread that owns it, and the window is detached before its handle can
// name another window. The engine detaches every skinned window on WM_DESTROY, and its detach
// removes every key, which ends the entry. A window destroyed without the skin's WM_DESTROY
// handling (a later subclass that swallows the message) leaves its entry behind; attach starts a
// fresh one, so a reused handle that is attached starts clean, but until then IsSkinned on that
// handle answers for the destroyed window.

#include <windows.h>

#include "skin/core/skin_family.h"
#include "skin/core/skin_state.h"

namespace skin {

namespace props {

// The window procedure the window had before the skin replaced it. Present exactly while the
// skin's window procedure is installed; its presence marks a window as skinned.
inline constexpr char kProcAddr[] = "PROCADDR";

// Push buttons: the four state surfaces (memory device contexts) and the bitmap selected into
// each. The digit is the SkinState whose picture the surface holds.
inline constexpr const char* kStateSurface[kSkinStateCount] = {"HDC0", "HDC1", "HDC2", "HDC3"};
inline constexpr const char* kStateBitmap[kSkinStateCount] = {"BMP0", "BMP1", "BMP2", "BMP3"};

// Push buttons: the window style before the skin made the button owner-drawn.
inline constexpr char kOldStyle[] = "OLDSTYLE";

// Buttons, combo boxes, check boxes, option buttons, headers: 1 while the pointer is known to be
// inside and a leave notification has been requested, else 0.
inline constexpr char kMouseFlag[] = "MOUSEFLAG";

// Push buttons: id of the running fade timer, 0 when none runs.
inline constexpr char kTimerId[] = "TIMERID";

// Buttons, combo boxes, check boxes, option buttons: the SkinState last shown or about to be.
inline constexpr char kOldState[] = "OLDSTATE";

// Push buttons: the fade level 0..255, constant alpha of the next blend.
inline constexpr char kAlphaLevel[] = "ALPHALEVEL";

// Headers: item under the left-button press, and item under the pointer; -1 for none.
inline constexpr char kHeaderDownIndex[] = "HDINDEX";
inline constexpr char kHeaderHotIndex[] = "HMINDEX";

// Every key above, for code and tests that must visit them all.
inline constexpr const char* kAllKeys[] = {
    kProcAddr,        kStateSurface[0], kStateSurface[1], kStateSurface[2],
    kStateSurface[3], kStateBitmap[0],  kStateBitmap[1],  kStateBitmap[2],
    kStateBitmap[3],  kOldStyle,        kMouseFlag,       kTimerId,
    kOldState,        kAlphaLevel,      kHeaderDownIndex, kHeaderHotIndex,
};

}  // namespace props

// Reads a property; 0 when it is missing.
LONG_PTR GetSkinProp(HWND window, const char* key);

// Stores a property (a failure is not reported; the window then keeps what it had, and reads
// ask the window).
void SetSkinProp(HWND window, const char* key, LONG_PTR value);

// Removes a property; nothing happens when it is missing.
void RemoveSkinProp(HWND window, const char* key);

// Handle-valued properties (device contexts, bitmaps, window procedures).
template <typename Handle>
Handle GetSkinPropHandle(HWND window, const char* key) {
  return reinterpret_cast<Handle>(GetSkinProp(window, key));
}
template <typename Handle>
void SetSkinPropHandle(HWND window, const char* key, Handle value) {
  SetSkinProp(window, key, reinterpret_cast<LONG_PTR>(value));
}

// "OLDSTATE" as a SkinState (a missing property reads as SkinState::Normal).
SkinState GetSkinState(HWND window);
void SetSkinState(HWND window, SkinState state);

// True when the window carries the skin ("PROCADDR" non-zero).
bool IsSkinned(HWND window);

// True when the window itself carries "PROCADDR", asked of the window rather than of memory.
bool WindowCarriesSkin(HWND window);

// For a window the store keeps: writes the value kept for the key to the window again where the
// window carries another value or none (someone else changed or removed the property).
void RestoreSkinProp(HWND window, const char* key);

// What attach decides once about a window and the window procedure reads with every message:
// the window's family, and whether the skin's procedure was installed as a Unicode one (and so
// passes messages on with CallWindowProcW).
struct SkinTraits {
  SkinFamily family = SkinFamily::Other;
  bool unicode = true;
};

// Starts keeping the window's skin properties in memory, with its traits: attach calls it before
// it writes the window's state. Whatever was kept under the handle before is forgotten. Windows
// of other threads are left alone.
void RememberSkinProps(HWND window, SkinTraits traits = {});

// The traits kept for the window; for a window the store does not keep, worked out afresh from
// its class name and character set.
SkinTraits GetSkinTraits(HWND window);

// True when the calling thread's store keeps the window's properties in memory.
bool RemembersWindow(HWND window);

// Stops keeping the window, leaving its properties as they are: for an attach that could not be
// completed and has taken off what it put on.
void ForgetSkinProps(HWND window);

// The DPI the skin draws the window at. The store keeps it with the window's state from the
// attach on (the engine decides it then and changes it when the window's form is told a new
// one); for a window the store does not keep, it is the platform's DPI of the window.
int GetSkinDpi(HWND window);

// Keeps the DPI of a window the store keeps; does nothing for any other window.
void SetSkinDpi(HWND window, int dpi);

// What a push button's state images were last rendered with: the sprite factor and the font. A
// change of scale renders them again only where this differs from what they would be rendered
// with now. Zero and nullptr for a window the store does not keep or that was not rendered.
struct RenderedFaces {
  int factor = 0;
  HFONT font = nullptr;
  bool operator==(const RenderedFaces&) const = default;
};
RenderedFaces GetRenderedFaces(HWND window);
void SetRenderedFaces(HWND window, RenderedFaces faces);

}  // namespace skin
