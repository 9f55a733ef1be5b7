#pragma once

// The skin property store: all per-window skin state lives in named window properties, set
// with SetPropA and removed with RemovePropA, so that anything outside the process can read it
// with GetPropA at any moment. Values are pointer-sized (the property's handle value), so a
// window procedure address or a handle fits on 64-bit too. A missing property reads as 0; -1 is
// stored as the all-ones pattern and reads back as -1.
//
// Under Wine every property access is a round trip to the Wine server, so the store also keeps
// the state of the windows the skin holds in memory, per thread. As the engine records a window
// it attaches, the store learns in one call which keys the window carries; from then on a read is
// answered from memory, and a write or removal goes to the window only where it changes what
// readers see there (the rule is AlreadyReads, in skin_props.cpp). Every other window, and every
// window of another thread or process, is read from its properties.
//
// The store is the one authority on which windows the skin holds (SkinHoldOf): not "PROCADDR",
// which anyone can read and remove, nor the window's procedure, above which another component may
// have put its own. An entry lives from the attach's record to the end of the detach, or, where
// the skin's procedure has to stay in a chain under someone else's, as a link until the window is
// destroyed. While a window is held, its skin properties change only through the store of the
// thread that owns it. Its entry ends when it is destroyed: at WM_NCDESTROY in the skin's
// procedure or, where another subclass keeps that from it, as the engine's hook sees the window
// go, so a handle the system gives a new window is never taken for the old one.

#include <windows.h>

#include "skin/core/skin_family.h"
#include "skin/core/skin_state.h"

namespace skin {

namespace props {

// The procedure the skin's passes the window's messages on to. Present exactly while the skin is
// on the window; its presence marks the window as skinned for every reader.
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

// Stores a property. False when the window could not take it (the desktop heap or the atom table
// is exhausted); the window then keeps what it had, and reads ask the window.
bool SetSkinProp(HWND window, const char* key, LONG_PTR value);

// The call that writes a window property for the calling thread's store: SetPropA, or a writer
// that stands in for it (tests make writes fail with one, as an exhausted desktop heap would).
// Null puts SetPropA back.
using PropertyWriter = BOOL(WINAPI*)(HWND window, LPCSTR key, HANDLE value);
void SetPropertyWriterForTesting(PropertyWriter writer);

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

// Starts keeping the window's skin properties in memory, with its traits. Whatever was kept under
// the handle before is forgotten. Windows of other threads are left alone.
void RememberSkinProps(HWND window, SkinTraits traits = {});

// The traits kept for the window; for a window the store does not keep, worked out afresh from
// its class name and character set.
SkinTraits GetSkinTraits(HWND window);

// What the calling thread's store holds of a window.
enum class SkinHold {
  kNone,     // nothing: the skin has never held it, or let go of it, or it is being destroyed
  kSkinned,  // the skin is on the window
  kLink,     // the skin let go of it, but its procedure stays in the window's chain below
             // another's, passing every message on (SkinLinkOf)
};
SkinHold SkinHoldOf(HWND window);

// True when the store holds the window, skinned or as a link.
bool RemembersWindow(HWND window);

// True when the calling thread's store holds any window.
bool RemembersAnyWindow();

// The record with which an attach starts: the store keeps the window's traits, decides its DPI
// (that of the nearest skinned window it lies in, so that a window created inside a form whose
// DPI the skin has been told takes the form's; else the platform's) and the procedure the skin's
// passes messages on to (a link's own, else the window's procedure now), which Keep() writes under
// "PROCADDR" once the family's state is on. Until then the window does not count as skinned: where
// the skin's procedure is in its chain already as a link, that passes the attach's own messages
// (the button's change to owner-drawn) straight on, as they go to a window the skin's procedure
// has not reached yet. An attach that does not complete, Keep() not called or failed, leaves the
// store as it was (nothing, or the link). For windows of the calling thread only.
class SkinRecord {
 public:
  SkinRecord(HWND window, SkinTraits traits);
  SkinRecord(const SkinRecord&) = delete;
  SkinRecord& operator=(const SkinRecord&) = delete;
  ~SkinRecord();

  int dpi() const { return dpi_; }
  // True when the skin's procedure is in the window's chain already, as a link.
  bool reusesLink() const { return reusesLink_; }
  // Writes "PROCADDR": from here on the window counts as skinned. False when the window cannot
  // take it; the record then ends as an attach that did not complete.
  bool Keep();

 private:
  HWND window_;
  int dpi_ = 0;
  bool reusesLink_ = false;
};

// The end of a detach where the skin's procedure came out of the window's chain: "PROCADDR" goes,
// and with it the entry.
void ForgetSkinWindow(HWND window);

// The end of a detach where the skin's procedure stays in the chain under another's: "PROCADDR"
// goes, the entry stays as a link.
void LeaveSkinLink(HWND window);

// The procedure a link passes messages on to, also while its window is being destroyed; null for
// any window that is not a link.
WNDPROC SkinLinkOf(HWND window);

// The window is being destroyed: the store no longer holds it. A link keeps passing messages on
// until WM_NCDESTROY, or until the store next finds its window gone.
void EndSkinEntry(HWND window);

// The DPI the skin draws the window at. The store keeps it with the window's state from the
// attach on (the engine decides it then and changes it when the window's form is told a new
// one); for a window the store does not keep, it is the platform's DPI of the window.
int GetSkinDpi(HWND window);

// Keeps the DPI of a window the store keeps; does nothing for any other window.
void SetSkinDpi(HWND window, int dpi);

// What a push button's state images were last rendered with: the sprite factor, the font and
// whether they show the focus rectangle. A change of scale renders them again only where the
// factor or font differs from what they would be rendered with now, a change of the window's UI
// state only where the focus rectangle does. Zero, nullptr and false for a window the store does
// not keep or that was not rendered.
struct RenderedFaces {
  int factor = 0;
  HFONT font = nullptr;
  bool focusBox = false;
  bool operator==(const RenderedFaces&) const = default;
};
RenderedFaces GetRenderedFaces(HWND window);
void SetRenderedFaces(HWND window, RenderedFaces faces);

// Whether the UI state of a window the store keeps hides focus cues (UISF_HIDEFOCUS). The store
// keeps the state as the window's own handlers learn it (asked as the skin attaches, then
// followed through every WM_UPDATEUISTATE), so that rendering never has to ask. False for any
// other window.
bool FocusCuesHidden(HWND window);
void SetFocusCuesHidden(HWND window, bool hidden);

}  // namespace skin
